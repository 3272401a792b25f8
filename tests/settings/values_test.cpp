#include "settings/values.h"

#include <gtest/gtest.h>

#include <functional>

#include "settings/defaults.h"
#include "support/error_number.h"
#include "support/temp_app_folder.h"

using namespace settings;
using testing_support::TempAppFolder;

namespace {

Values Read(const TempAppFolder& folder) { return ReadValues(folder.path(), folder.path()); }

struct Case {
    const char* what;
    const char* ini;  // null: no settings file at all
    std::function<void(const Values&, const TempAppFolder&)> check;
};

const Case kCases[] = {
    {"a missing file gives the built-in defaults and the samples", nullptr,
     [](const Values& v, const TempAppFolder& folder) {
         EXPECT_EQ(v.effect, Effect::Glidorama);
         EXPECT_EQ(v.pictures, DefaultPictures(folder.path()));
         EXPECT_EQ(v.pictureCount, 5);
         EXPECT_EQ(v.cloneCount, 10);
         EXPECT_EQ(v.cloneSpeed, Number(20));
         for (const Number& speed : {v.splatSpeed, v.deckSpeed, v.psychedelicSpeed}) EXPECT_EQ(speed, Number(11));
         EXPECT_EQ(v.jumpingSpeed, 11);
         EXPECT_EQ(v.changeInterval, 30);
         EXPECT_EQ(v.clonesPerAdmission, 1);
         EXPECT_FALSE(v.neverChange);
         EXPECT_EQ(v.changeFrequency, 2);
         EXPECT_EQ(v.mouseSensitivity, 5);
         EXPECT_EQ(v.backgroundColor, 0);
         EXPECT_FALSE(v.shuffle);
         EXPECT_EQ(v.floatTransition, 0);
         EXPECT_FALSE(v.randomTransitions);
         EXPECT_EQ(v.floatStill, 0);
         EXPECT_EQ(v.floatSpeed, 3);
         EXPECT_TRUE(v.fitToScreen);
         EXPECT_EQ(v.pictureScalePercent, 0);  // Automatic
         EXPECT_EQ(v.password, QString());
         EXPECT_FALSE(v.passwordEnabled);
     }},
    {"every key reads through, the clone count as the count",
     "[total]\nnewTotal=2\nClonesOfImage=15\n[speed]\nimageSpeed=150\n"
     "[saver]\nmode=6\nSpeedofSplat=7\nSpeedofJump=9\nDeckGradient=13\nPsychGradient=3\nNextImageTime=1.5\n"
     "IntroImageAmount=2\nNeverChange=True\nChangeNextImage=3\nmouseSensitivity=1\nnewBackColor=16711680\n"
     "effectMode=4\nrandomEffect=1\ncenterImage=2\nfloatImageSpeed=5\nshuffle=1\nfitToScreen=0\n"
     "PictureSize=150\n[password]\nsaverPassword=Open Sesame\nsaverEnabled=1\n[images]\n0=/a b.jpg\n1=/c.png\n",
     [](const Values& v, const TempAppFolder&) {
         EXPECT_EQ(v.effect, Effect::Vortex);
         EXPECT_EQ(v.pictures, QStringList({"/a b.jpg", "/c.png"}));
         EXPECT_EQ(v.cloneCount, 15);
         EXPECT_EQ(v.cloneSpeed, Number(150));
         EXPECT_EQ(v.splatSpeed, Number(7));
         EXPECT_EQ(v.jumpingSpeed, 9);
         EXPECT_EQ(v.deckSpeed, Number(13));
         EXPECT_EQ(v.psychedelicSpeed, Number(3));
         EXPECT_EQ(v.changeInterval, 1.5);
         EXPECT_EQ(v.clonesPerAdmission, 2);
         EXPECT_TRUE(v.neverChange);
         EXPECT_EQ(v.changeFrequency, 3);
         EXPECT_EQ(v.mouseSensitivity, 1);
         EXPECT_EQ(v.backgroundColor, 0xFF0000);  // pure blue: 0x00BBGGRR
         EXPECT_EQ(v.floatTransition, 4);
         EXPECT_TRUE(v.randomTransitions);
         EXPECT_EQ(v.floatStill, 2);  // neither still nor floating
         EXPECT_EQ(v.floatSpeed, 5);
         EXPECT_TRUE(v.shuffle);
         EXPECT_FALSE(v.fitToScreen);
         EXPECT_EQ(v.pictureScalePercent, 150);
         EXPECT_EQ(v.password, QStringLiteral("Open Sesame"));
         EXPECT_TRUE(v.passwordEnabled);
     }},
    {"unusable values take their defaults",
     "[saver]\nmode=abc\nnewBackColor=99999999999\nmouseSensitivity=\nNeverChange=maybe\nshuffle=yes\n"
     "fitToScreen=no\nfloatImageSpeed=1e999\nPictureSize=120\n[total]\nnewTotal=1e9\nClonesOfImage=x\n[password]"
     "\nsaverEnabled=on\n",
     [](const Values& v, const TempAppFolder& folder) {
         EXPECT_EQ(v.effect, Effect::Glidorama);
         EXPECT_EQ(v.backgroundColor, 0);
         EXPECT_EQ(v.mouseSensitivity, 5);
         EXPECT_FALSE(v.neverChange);
         EXPECT_FALSE(v.shuffle);
         EXPECT_TRUE(v.fitToScreen);
         EXPECT_EQ(v.pictureScalePercent, 0);
         EXPECT_EQ(v.floatSpeed, 3);
         EXPECT_EQ(v.pictures, DefaultPictures(folder.path()));
         EXPECT_EQ(v.cloneCount, 10);
         EXPECT_FALSE(v.passwordEnabled);
     }},
    {"the clone speeds keep an unusable text, reported where first used",
     "[speed]\nimageSpeed=fast\n[saver]\nPsychGradient=zz\nSpeedofJump=zz\n",
     [](const Values& v, const TempAppFolder&) {
         EXPECT_FALSE(v.cloneSpeed.usable());
         EXPECT_EQ(testing_support::ErrorNumberOf([&] { v.cloneSpeed.value(); }), 13);
         EXPECT_FALSE(v.psychedelicSpeed.usable());
         EXPECT_EQ(v.jumpingSpeed, 11);
     }},
    {"a number that names no effect, and numbers that are not whole",
     "[saver]\nmode=2.5\nNeverChange=0\n[total]\nnewTotal=3\nClonesOfImage=2.5\n[images]\n0=/x0\n2=/x2\n",
     [](const Values& v, const TempAppFolder& folder) {
         EXPECT_EQ(v.effect, Effect::None);
         EXPECT_EQ(v.cloneCount, 2.5);
         // A missing entry stands in the sample at its position.
         EXPECT_EQ(v.pictures, QStringList({"/x0", DefaultPictures(folder.path())[1], "/x2"}));
     }},
};

TEST(Values, ReadWithTheirParsingRulesAndFallbacks) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TempAppFolder folder;
        if (c.ini) folder.writeSettings(c.ini);
        c.check(Read(folder), folder);
    }
}

}  // namespace
