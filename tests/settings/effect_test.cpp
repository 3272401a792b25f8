#include "settings/effect.h"

#include <gtest/gtest.h>

#include "support/error_number.h"
#include "support/no_effect.h"

using settings::Effect;

namespace {

// The stored text names an effect only as a whole number from 0 to 7, in
// any form the number conversion accepts; other numbers name none, and text
// that is no number raises a type mismatch.
TEST(Effect, ParsesTheStoredTextAsAWholeNumberFromZeroToSeven) {
    EXPECT_EQ(Effect::FromText(QStringLiteral("0")), Effect::Glidorama);
    EXPECT_EQ(Effect::FromText(QStringLiteral("1")), Effect::Float);
    EXPECT_EQ(Effect::FromText(QStringLiteral("6")), Effect::Vortex);
    EXPECT_EQ(Effect::FromText(QStringLiteral(" 7 ")), Effect::Splat);
    EXPECT_EQ(Effect::FromText(QStringLiteral("6.0")), Effect::Vortex);
    EXPECT_EQ(Effect::FromText(QStringLiteral("2e0")), Effect::Warp);
    for (const QString& none : {QStringLiteral("2.5"), QString::number(testing_support::kNoEffect),
                                QStringLiteral("-1"), QStringLiteral("0.0001")})
        EXPECT_EQ(Effect::FromText(none), Effect::None) << none.toStdString();
    for (const char* bad : {"", "Vortex", "x6"})
        EXPECT_EQ(testing_support::ErrorNumberOf([&] { Effect::FromText(QString::fromLatin1(bad)); }), 13) << bad;

    EXPECT_TRUE(Effect::TextIs(QStringLiteral("4"), Effect::DeckOfCards));
    EXPECT_FALSE(Effect::TextIs(QStringLiteral("4.5"), Effect::DeckOfCards));
    EXPECT_FALSE(Effect::TextIs(QStringLiteral("Deck"), Effect::DeckOfCards));
    EXPECT_FALSE(Effect::TextIs(QStringLiteral("9"), Effect::None));
    EXPECT_EQ(Effect::FromNumber(testing_support::kNoEffect), Effect::None);
}

// Every effect but Float is a clone effect, in exactly one of the two
// families of picture changes.
TEST(Effect, EachCloneEffectChangesPicturesInOneWay) {
    for (int n = 0; n < Effect::kCount; ++n) {
        const Effect e = Effect::FromNumber(n);
        EXPECT_EQ(e.isCloneEffect(), e != Effect::Float) << n;
        EXPECT_FALSE(e.changesOnSchedule() && e.pacesItsOwnChanges()) << n;
    }
    for (Effect e : {Effect::Glidorama, Effect::Warp, Effect::DeckOfCards, Effect::Vortex})
        EXPECT_TRUE(e.changesOnSchedule()) << int(e.kind());
    for (Effect e : {Effect::Psychedelic, Effect::JumpingBeans, Effect::Splat})
        EXPECT_TRUE(e.pacesItsOwnChanges()) << int(e.kind());
    EXPECT_FALSE(Effect().isCloneEffect());
}

}  // namespace
