#include "runtime/vb.h"

#include <gtest/gtest.h>

using namespace vb;

namespace {
int errorOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(Conversions, RoundingGoesToTheEvenNeighbour) {
    EXPECT_EQ(CInt(QStringLiteral("2.5")), 2);
    EXPECT_EQ(CInt(QStringLiteral("3.5")), 4);
    EXPECT_EQ(CInt(QStringLiteral("-2.5")), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CLng(2147483646.5), 2147483646);
    EXPECT_EQ(CInt(QStringLiteral(" 12 ")), 12);
}

TEST(Conversions, OutOfRangeIsOverflow) {
    EXPECT_EQ(errorOf([] { CInt(QStringLiteral("32767.5")); }), kOverflow);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(errorOf([] { CInt(-32768.6); }), kOverflow);
    EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), kOverflow);
    EXPECT_EQ(errorOf([] { CLng(1e300); }), kOverflow);
}

TEST(Conversions, TextThatIsNoNumberIsATypeMismatch) {
    for (const char* text : {"", "abc", "  ", "4711abc", "1.2.3", "--1", "."})
        EXPECT_EQ(errorOf([&] { CDbl(QString::fromLatin1(text)); }), kTypeMismatch) << text;
    EXPECT_DOUBLE_EQ(CDbl(QStringLiteral("-1.5e2")), -150.0);
    EXPECT_DOUBLE_EQ(CDbl(QStringLiteral("&HFF")), 255.0);
    EXPECT_DOUBLE_EQ(CDbl(QStringLiteral("&HFFFF")), -1.0);
    EXPECT_DOUBLE_EQ(CDbl(QStringLiteral(".5")), 0.5);
}

TEST(Conversions, BooleansAcceptWordsInAnyCaseAndNumbers) {
    EXPECT_FALSE(CBool(QStringLiteral("fAlSe")));
    EXPECT_TRUE(CBool(QStringLiteral("TRUE")));
    EXPECT_TRUE(CBool(QStringLiteral("0.5")));
    EXPECT_FALSE(CBool(QStringLiteral("0")));
    EXPECT_TRUE(CBool(QStringLiteral("-1")));
    EXPECT_EQ(errorOf([] { CBool(QStringLiteral("yes")); }), kTypeMismatch);
    EXPECT_EQ(errorOf([] { CBool(QString()); }), kTypeMismatch);
}

TEST(Conversions, NumbersAsText) {
    EXPECT_EQ(CStr(int32_t(-42)), QStringLiteral("-42"));
    EXPECT_EQ(CStr(int32_t(16711680)), QStringLiteral("16711680"));
    EXPECT_EQ(CStr(9.0), QStringLiteral("9"));
    EXPECT_EQ(CStr(-0.5), QStringLiteral("-0.5"));
    EXPECT_EQ(BoolText(true), QStringLiteral("True"));
}

TEST(Conversions, ValReadsTheLeadingNumberAndNeverFails) {
    EXPECT_EQ(Val(QStringLiteral(" 47 11")), 4711);
    EXPECT_EQ(Val(QStringLiteral("4711abc")), 4711);
    EXPECT_EQ(Val(QStringLiteral("abc")), 0);
    EXPECT_EQ(Val(QString()), 0);
    EXPECT_EQ(Val(QStringLiteral("\t-12.5x")), -12.5);
    EXPECT_EQ(Val(QStringLiteral("1.2.3")), 1.2);
    EXPECT_EQ(Val(QStringLiteral("1e3q")), 1000);
    EXPECT_EQ(Val(QStringLiteral("1e")), 1);
    EXPECT_EQ(Val(QStringLiteral("&H10zz")), 16);
    EXPECT_EQ(Val(QStringLiteral(":4711")), 0);
}

TEST(Conversions, IntRoundsDownFixTruncatesAndBackslashDividesWholeNumbers) {
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Fix(-2.5), -2);
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(IntDiv(7, 2), 3);
    EXPECT_EQ(IntDiv(-7, 2), -3);
    EXPECT_EQ(IntDiv(2.5, 1), 2);
    EXPECT_EQ(IntDiv(3.5, 1), 4);
    EXPECT_EQ(IntDiv(9600 - 12001, 2), -1200);
    EXPECT_EQ(errorOf([] { IntDiv(1, 0.4); }), kDivisionByZero);
}

TEST(Integer16, ArithmeticOverflowIsAnError) {
    Integer a(32000);
    EXPECT_EQ(errorOf([&] { a = a + Integer(1000); }), kOverflow);
    EXPECT_EQ(a.value(), 32000);  // unchanged after the failed sum
    EXPECT_EQ(errorOf([&] {
                  Integer m(-32768);
                  m = -m;
              }),
              kOverflow);
    Integer b(-5);
    b += 10;
    EXPECT_EQ(b.value(), 5);
    EXPECT_EQ((Integer(-32768) + 1).value(), -32767);
    EXPECT_EQ(errorOf([] { Integer::FromLong(40000); }), kOverflow);
}
