#include "dialog_fixture.h"

TEST_F(DialogTest, ProgrammaticChangesRunHandlersOnlyWhenTheValueChanges) {
    // 60 and 1 are the scroll bars' designed values: their handlers do not
    // run, yet the boxes beside the bars still show the bars' values.
    t.folder.writeSettings("[saver]\nNextImageTime=60\nIntroImageAmount=1\nmode=0\n");
    auto& f = open();
    EXPECT_EQ(f.ChangeImageScroll->Value(), 60);
    EXPECT_EQ(f.ChangeImageText->text(), "60");
    EXPECT_EQ(f.IntroAmountScroll->Value(), 1);
    EXPECT_EQ(f.IntroAmountText->text(), "1");

    t.folder.writeSettings("[saver]\nNextImageTime=45\nIntroImageAmount=3\n[total]\nClonesOfImage=12\n");
    auto& g = open();
    EXPECT_EQ(g.ChangeImageText->text(), "45");
    EXPECT_EQ(g.IntroAmountText->text(), "3");
    EXPECT_EQ(g.ClonesText->text(), "12");
    // ClonesScroll's handler limited the amount to introduce to the clones.
    EXPECT_EQ(g.IntroAmountScroll->Min(), 12);
}

TEST_F(DialogTest, ClonesOfOneLeavesTheIntroduceLimitAsDesigned) {
    t.folder.writeSettings("[total]\nClonesOfImage=1\n");
    auto& f = open();
    EXPECT_EQ(f.ClonesText->text(), "1");
    EXPECT_EQ(f.IntroAmountScroll->Min(), 21);
}

TEST_F(DialogTest, SlidersSetByLoadRunNoHandler) {
    // 1.4 loads as slider position 1 but, with no handler run, stays as read.
    t.folder.writeSettings("[saver]\nChangeNextImage=1.4\nmouseSensitivity=1\n");
    auto& f = open();
    EXPECT_EQ(f.changeFrequency->value(), 1);
    EXPECT_EQ(settings->changeFrequency, "1.4");
    EXPECT_EQ(f.MouseSensitiveSlider->value(), 15);
    EXPECT_EQ(settings->mouseSensitivity, "1");
}

TEST_F(DialogTest, LoadFillsTheListAndSelectsTheFirstEntry) {
    const QString a = picture("a.png"), b = picture("b.png");
    t.folder.writeSettings(("[total]\nnewTotal=2\n[images]\n0=" + a + "\n1=" + b + "\n2=" + a + "\n").toUtf8());
    auto& f = open();
    EXPECT_EQ(listEntries(), QStringList({a, b}));
    EXPECT_EQ(f.pictureCount->text(), "2");
    EXPECT_EQ(f.pictureList->currentRow(), 0);
    EXPECT_EQ(f.photoWidth, 40 * 15);
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(DialogTest, NoPicturesLoadsAnEmptyListWithNothingSelected) {
    t.folder.writeSettings("[total]\nnewTotal=0\n");
    auto& f = open();
    EXPECT_EQ(f.pictureList->count(), 0);
    EXPECT_EQ(f.pictureList->currentRow(), -1);
    EXPECT_EQ(f.pictureCount->text(), "0");
}

TEST_F(DialogTest, GarbageSettingsOpenWithUsableValues) {
    t.folder.writeSettings(
        "\x01\x02garbage\n[total]\nnewTotal=lots\nClonesOfImage=99999999999\n[saver]\nmode=&Hzz\n"
        "NextImageTime=-7\nIntroImageAmount=abc\nNeverChange=perhaps\nChangeNextImage=1e300\n"
        "mouseSensitivity=\nnewBackColor=blue\neffectMode=42\nrandomEffect=7\ncenterImage=-3\n"
        "floatImageSpeed=fast\n[speed]\nimageSpeed=1e999\n[password]\nsaverEnabled=x\n[images]\n0=\n");
    auto& f = open();
    EXPECT_EQ(f.ClonesScroll->Value(), 21);  // the nearest valid value
    EXPECT_EQ(f.ChangeImageScroll->Value(), 5);
    EXPECT_EQ(f.IntroAmountScroll->Value(), 1);  // not a number: the default
    EXPECT_TRUE(f.NeverChangeOption1->isChecked());
    EXPECT_EQ(f.changeFrequency->value(), 3);
    EXPECT_EQ(f.TransitionsCbx->currentIndex(), 7);
    EXPECT_EQ(f.EffectCbx->currentIndex(), 0);
    EXPECT_EQ(f.Password_enabled->checkState(), Qt::Unchecked);
    EXPECT_FALSE(f.SS_password->isEnabled());
}

TEST_F(DialogTest, MissingFileOpensWithDefaults) {
    auto& f = open();
    EXPECT_EQ(f.ClonesText->text(), "10");
    EXPECT_EQ(f.ChangeImageText->text(), "30");
    EXPECT_EQ(f.EffectCbx->currentText(), "Glidorama");
    EXPECT_EQ(f.pictureList->count(), 5);  // the bundled samples, by path
    EXPECT_EQ(f.pictureCount->text(), "5");
}

TEST_F(DialogTest, PasswordLoadsIntoBothBoxesWithTheEnabledLook) {
    t.folder.writeSettings("[password]\nsaverPassword=Secret\nsaverEnabled=1\n");
    auto& f = open();
    EXPECT_EQ(f.SS_password->text(), "Secret");
    EXPECT_EQ(f.confirmText, "Secret");
    EXPECT_EQ(f.SS_password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(f.SS_Confirm->isEnabled());
    EXPECT_EQ(dialog::Form2::BackColor(f.SS_Confirm), platform::SystemColorValue(platform::kWindowBackground));

    t.folder.writeSettings("[password]\nsaverPassword=Secret\nsaverEnabled=2\n");
    auto& g = open();
    EXPECT_EQ(g.Password_enabled->checkState(), Qt::Unchecked);
    EXPECT_FALSE(g.SS_password->isEnabled());
    EXPECT_EQ(dialog::Form2::BackColor(g.SS_password), platform::SystemColorValue(platform::kThreeDLight));
    EXPECT_EQ(settings->passwordEnabled, "2");  // written back as read unless clicked
}

TEST_F(DialogTest, AStoredNumberOutsideAScrollBarsRangeTakesTheValueTheBarShows) {
    // 0 clones and 100 seconds clamp to the bars' designed values 1 and 60;
    // the variables follow the bars, so "&OK" writes what the dialog shows.
    t.folder.writeSettings("[total]\nClonesOfImage=0\n[saver]\nNextImageTime=100\nIntroImageAmount=-4\n");
    auto& f = open();
    EXPECT_EQ(f.ClonesText->text(), "1");
    EXPECT_EQ(settings->cloneCount, "1");
    EXPECT_EQ(f.ChangeImageText->text(), "60");
    EXPECT_EQ(settings->changeInterval, "60");
    EXPECT_EQ(f.IntroAmountText->text(), "1");
    EXPECT_EQ(settings->clonesPerAdmission, "1");
}
