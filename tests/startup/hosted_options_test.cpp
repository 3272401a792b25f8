#include <gtest/gtest.h>

#include "startup/hosted_options.h"
#include "support/no_effect.h"

using startup::ParseHostedOptions;
using startup::ParseWindowId;

namespace {
QStringList Args(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* a : list) out << QString::fromLatin1(a);
    return out;
}
}  // namespace

TEST(HostedOptions, WindowIdsAreHexOrDecimal) {
    EXPECT_EQ(ParseWindowId(QStringLiteral("0x200005")), 0x200005u);
    EXPECT_EQ(ParseWindowId(QStringLiteral("0XABCDEF")), 0xabcdefu);
    EXPECT_EQ(ParseWindowId(QStringLiteral("2097157")), 2097157u);
    EXPECT_EQ(ParseWindowId(QStringLiteral(" 42 ")), 42u);
    EXPECT_EQ(ParseWindowId(QStringLiteral("0xffffffff")), 0xffffffffu);
    for (const char* bad : {"", "0x", "abc", "-5", "12abc", "0x1ffffffff", "99999999999", "1e3"})
        EXPECT_EQ(ParseWindowId(QString::fromLatin1(bad)), std::nullopt) << bad;
}

TEST(HostedOptions, TheTwoCharacterSwitchesAreNotHosted) {
    for (auto args : {Args({"/s"}), Args({"/c"}), Args({"/p", "4711"}), Args({}), Args({"-x", "/s"})})
        EXPECT_FALSE(ParseHostedOptions(args, QStringLiteral("0x10")).hosted) << args.join(u' ').toStdString();
}

TEST(HostedOptions, RootDrawsIntoTheSaverWindowOfTheEnvironment) {
    for (const char* root : {"--root", "-root"}) {
        const auto hex = ParseHostedOptions(Args({root}), QStringLiteral("0x4a0001"));
        ASSERT_TRUE(hex.options);
        EXPECT_EQ(hex.options->window, 0x4a0001u);
        const auto decimal = ParseHostedOptions(Args({root}), QStringLiteral("4849665"));
        ASSERT_TRUE(decimal.options);
        EXPECT_EQ(decimal.options->window, 4849665u);
        const auto none = ParseHostedOptions(Args({root}), QString());
        ASSERT_TRUE(none.options);
        EXPECT_EQ(none.options->window, 0u);  // the root window
    }
}

TEST(HostedOptions, WindowIdWinsOverRootAndTheEnvironment) {
    for (auto args : {Args({"--window-id", "0x300002"}), Args({"-window-id", "3145730"}),
                      Args({"--root", "--window-id=0x300002"}), Args({"/s", "--window-id", "0x300002"})}) {
        const auto parsed = ParseHostedOptions(args, QStringLiteral("0x4a0001"));
        ASSERT_TRUE(parsed.options) << args.join(u' ').toStdString();
        EXPECT_EQ(parsed.options->window, 0x300002u);
    }
}

TEST(HostedOptions, OtherDashOptionsArePassedOver) {
    const auto parsed = ParseHostedOptions(Args({"-root", "-delay", "1000", "--fps", "-geometry=1x1"}), QString());
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->window, 0u);
    EXPECT_TRUE(parsed.error.isEmpty());
}

TEST(HostedOptions, AnUnreadableWindowIsAnErrorNamingIt) {
    const auto parsed = ParseHostedOptions(Args({"--root"}), QStringLiteral("window7"));
    EXPECT_TRUE(parsed.hosted);
    EXPECT_FALSE(parsed.options);
    EXPECT_TRUE(parsed.error.contains(QStringLiteral("window7")));
    const auto missing = ParseHostedOptions(Args({"--window-id"}), QString());
    EXPECT_TRUE(missing.hosted);
    EXPECT_FALSE(missing.options);
}

TEST(HostedOptions, TheEffectIsNamedByItsCaptionOrNumber) {
    const auto effectOf = [](const char* name) {
        return ParseHostedOptions(Args({"--root", "--effect", name}), QString()).options->effect;
    };
    EXPECT_EQ(effectOf("glidorama"), 0);
    EXPECT_EQ(effectOf("Float"), 1);
    EXPECT_EQ(effectOf("deck-of-cards"), 4);
    EXPECT_EQ(effectOf("Jumping Beans"), 5);
    EXPECT_EQ(effectOf("splat"), 7);
    EXPECT_EQ(effectOf("Splat!"), 7);
    EXPECT_EQ(effectOf("6"), 6);
    EXPECT_EQ(ParseHostedOptions(Args({"--root"}), QString()).options->effect, std::nullopt);
    // An unknown name keeps the settings file's effect and says so.
    const auto unknown = ParseHostedOptions(Args({"--root", "--effect=sparkle"}), QString());
    ASSERT_TRUE(unknown.options);
    EXPECT_EQ(unknown.options->effect, std::nullopt);
    EXPECT_TRUE(unknown.warning.contains(QStringLiteral("sparkle")));
    EXPECT_EQ(effectOf(QByteArray::number(testing_support::kNoEffect).constData()), std::nullopt);
}
