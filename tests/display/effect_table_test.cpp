#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include "display/effect_table.h"

namespace {

// The XScreenSaver description offers every effect of the table, under its
// caption and with its command-line name, and nothing else.
TEST(EffectTable, TheXScreenSaverDescriptionOffersEveryEffect) {
    QFile file(QStringLiteral(GLIDORAMA_PACKAGING_DIR "/glidorama.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList offered;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("option")) continue;
        const QString arg = xml.attributes().value(QLatin1String("arg-set")).toString();
        if (!arg.isEmpty()) offered << xml.attributes().value(QLatin1String("_label")).toString() + u'|' + arg;
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    QStringList expected;
    for (const display::EffectInfo& effect : display::Effects())
        expected << QLatin1String(effect.caption) + QLatin1String("|--effect ") + QLatin1String(effect.commandName);
    EXPECT_EQ(offered, expected);
}

TEST(EffectTable, EntriesFollowTheStoredNumbers) {
    int number = 0;
    for (const display::EffectInfo& effect : display::Effects()) {
        EXPECT_EQ(int(effect.kind), number++);
        EXPECT_EQ(display::FindEffect(effect.kind), &effect);
        EXPECT_EQ(effect.speedKey == nullptr, effect.speedCaption == nullptr);
    }
    EXPECT_EQ(display::FindEffect(settings::Effect::None), nullptr);
}

}  // namespace
