#include "runtime/vb.h"

#include <cmath>
#include <limits>
#include <optional>

namespace vb {

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("Run-time error %1: %2").arg(number).arg(description).toStdString()),
      number_(number) {}

void Raise(int number, const QString& description) {
    QString text = description;
    if (text.isEmpty()) {
        switch (number) {
            case kOverflow: text = QStringLiteral("Overflow"); break;
            case kOutOfMemory: text = QStringLiteral("Out of memory"); break;
            case kSubscriptOutOfRange: text = QStringLiteral("Subscript out of range"); break;
            case kDivisionByZero: text = QStringLiteral("Division by zero"); break;
            case kTypeMismatch: text = QStringLiteral("Type mismatch"); break;
            case kFileNotFound: text = QStringLiteral("File not found"); break;
            case kPathFileAccessError: text = QStringLiteral("Path/File access error"); break;
            case kPathNotFound: text = QStringLiteral("Path not found"); break;
            case kInvalidPicture: text = QStringLiteral("Invalid picture"); break;
            default: text = QStringLiteral("Application-defined error"); break;
        }
    }
    throw RuntimeError(number, text);
}

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// The &H (hexadecimal) and &O (octal) forms; nullopt when the text is not one.
std::optional<double> parseRadix(const QString& body) {
    if (body.size() < 3 || body[0] != u'&') return std::nullopt;
    const QChar kind = body[1].toUpper();
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0) return std::nullopt;
    bool ok = false;
    const qulonglong v = body.mid(2).toULongLong(&ok, base);
    if (!ok || v > 0xFFFFFFFFull) return std::nullopt;
    // Values up to 4 hex digits are 16-bit, longer ones 32-bit, both signed.
    if (body.size() - 2 <= (base == 16 ? 4 : 6) && v <= 0xFFFF) return double(int16_t(uint16_t(v)));
    return double(int32_t(uint32_t(v)));
}

// Length of the longest prefix of s that reads as a decimal number
// (sign, digits, one point, exponent), or 0 when there is none.
int decimalPrefix(const QString& s) {
    int i = 0;
    const int n = s.size();
    if (i < n && (s[i] == u'+' || s[i] == u'-')) ++i;
    int digits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        int j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-')) ++j;
        int expDigits = 0;
        while (j < n && s[j].isDigit() && s[j].unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) i = j;
    }
    return i;
}

double toDouble(const QString& s, int length) {
    QString t = s.left(length);
    for (QChar& c : t)
        if (c == u'd' || c == u'D') c = u'e';
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) Raise(kOverflow);
    return v;
}

int64_t roundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9.0e18) Raise(kOverflow);
    return static_cast<int64_t>(std::nearbyint(value));  // default rounding: to nearest, ties to even
}

}  // namespace

double CDbl(const QString& text) {
    const QString body = text.trimmed();
    if (body.isEmpty()) Raise(kTypeMismatch);
    if (auto radix = parseRadix(body)) return *radix;
    const int length = decimalPrefix(body);
    if (length == 0 || length != body.size()) Raise(kTypeMismatch);
    return toDouble(body, length);
}

int16_t CInt(double value) {
    const int64_t r = roundHalfEven(value);
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max()) Raise(kOverflow);
    return static_cast<int16_t>(r);
}

int16_t CInt(const QString& text) { return CInt(CDbl(text)); }

int32_t CLng(double value) {
    const int64_t r = roundHalfEven(value);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) Raise(kOverflow);
    return static_cast<int32_t>(r);
}

int32_t CLng(const QString& text) { return CLng(CDbl(text)); }

bool CBool(const QString& text) {
    const QString body = text.trimmed();
    if (body.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (body.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    return CDbl(body) != 0.0;
}

QString CStr(int64_t value) { return QString::number(value); }
QString CStr(int32_t value) { return QString::number(value); }
QString CStr(int16_t value) { return QString::number(value); }

QString CStr(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) return QString::number(static_cast<int64_t>(value));
    QString s = QString::number(value, 'g', 15);
    return s.replace(QLatin1Char('e'), QLatin1Char('E'));
}

QString BoolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

double Val(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c)) s.append(c);
    if (s.startsWith(u'&') && s.size() >= 2) {
        const QChar kind = s[1].toUpper();
        const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
        if (base == 0) return 0;
        int end = 2;
        while (end < s.size() && end < 2 + 8) {
            bool ok = false;
            QString(s[end]).toInt(&ok, base);
            if (!ok) break;
            ++end;
        }
        if (end == 2) return 0;
        return *parseRadix(s.left(end));
    }
    const int length = decimalPrefix(s);
    return length == 0 ? 0.0 : toDouble(s, length);
}

double Int(double value) { return std::floor(value); }
double Fix(double value) { return std::trunc(value); }

int32_t IntDiv(double dividend, double divisor) {
    const int32_t a = CLng(dividend);
    const int32_t b = CLng(divisor);
    if (b == 0) Raise(kDivisionByZero);
    if (a == std::numeric_limits<int32_t>::min() && b == -1) Raise(kOverflow);
    return a / b;
}

Integer Integer::FromLong(int64_t v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max()) Raise(kOverflow);
    return Integer(static_cast<int16_t>(v));
}

}  // namespace vb
