// Number and text conversions with the original program's exact rules,
// and the run-time error that carries the original error number.
#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace vb {

// Error numbers the program raises or reports.
enum ErrorNumber : int {
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kFileNotFound = 53,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kInvalidPicture = 481,
};

// A run-time error: what the original platform raised and a routine's own
// handler may catch.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description);
    int number() const { return number_; }

private:
    int number_;
};

[[noreturn]] void Raise(int number, const QString& description = QString());

// Text to number. Accepts leading and trailing blanks, a sign, decimal digits
// with one '.', an exponent, and the hexadecimal (&H) and octal (&O) forms.
// Empty or non-numeric text raises error 13.
double CDbl(const QString& text);

// Nearest whole number, halves to the even neighbour; outside the 16-bit or
// 32-bit range raises error 6. The text forms first apply CDbl.
int16_t CInt(double value);
int16_t CInt(const QString& text);
int32_t CLng(double value);
int32_t CLng(const QString& text);

// The words True and False in any case, or a number (nonzero is true).
bool CBool(const QString& text);

// A whole number as plain decimal text, a leading '-' when negative.
QString CStr(int64_t value);
QString CStr(int32_t value);
QString CStr(int16_t value);
QString CStr(bool value) = delete;  // use BoolText
// Any number as text: whole numbers plainly, others with up to 15 digits.
QString CStr(double value);
// A Boolean as "True" or "False".
QString BoolText(bool value);

// The leading number of a text: blanks, tabs and line feeds are skipped,
// reading stops at the first character that cannot continue a number, and
// no number gives 0. Never fails.
double Val(const QString& text);

// Int rounds down, Fix truncates toward zero.
double Int(double value);
double Fix(double value);

// Integer division: both operands rounded to 32-bit integers (halves to
// even, error 6 outside the range), then divided truncating toward zero.
// A zero divisor raises error 11 (division by zero).
int32_t IntDiv(double dividend, double divisor);

// A 16-bit signed integer whose arithmetic raises error 6 on overflow.
class Integer {
public:
    constexpr Integer() = default;
    constexpr Integer(int16_t v) : value_(v) {}
    // Conversion from a wider value: error 6 when it does not fit.
    static Integer FromLong(int64_t v);

    constexpr int16_t value() const { return value_; }
    constexpr operator int16_t() const { return value_; }

    // Arithmetic with another Integer or a plain int; the result must fit.
    friend Integer operator+(Integer a, Integer b) { return FromLong(int64_t(a.value_) + b.value_); }
    friend Integer operator-(Integer a, Integer b) { return FromLong(int64_t(a.value_) - b.value_); }
    friend Integer operator*(Integer a, Integer b) { return FromLong(int64_t(a.value_) * b.value_); }
    friend Integer operator+(Integer a, int b) { return FromLong(int64_t(a.value_) + b); }
    friend Integer operator-(Integer a, int b) { return FromLong(int64_t(a.value_) - b); }
    friend Integer operator+(int a, Integer b) { return FromLong(a + int64_t(b.value_)); }
    friend Integer operator-(int a, Integer b) { return FromLong(a - int64_t(b.value_)); }
    Integer operator-() const { return FromLong(-int64_t(value_)); }
    Integer& operator+=(Integer b) { return *this = *this + b; }
    Integer& operator-=(Integer b) { return *this = *this - b; }
    Integer& operator+=(int b) { return *this = *this + b; }
    Integer& operator-=(int b) { return *this = *this - b; }
    Integer& operator++() { return *this += 1; }

private:
    int16_t value_ = 0;
};

}  // namespace vb
