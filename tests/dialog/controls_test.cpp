#include <QCoreApplication>
#include <QKeyEvent>

#include "dialog_fixture.h"

TEST_F(DialogTest, FloatShowsItsControlsAndReadsItsOwnSpeed) {
    t.folder.writeSettings("[saver]\nmode=1\nfloatImageSpeed=4\ncenterImage=1\n[speed]\nimageSpeed=150\n");
    auto& f = open();
    EXPECT_TRUE(f.TransitionsCbx->isVisible());
    EXPECT_TRUE(f.RndTranCheck->isVisible());
    EXPECT_TRUE(f.CenterCheck->isVisible());
    EXPECT_FALSE(f.ClonesScroll->isVisible());
    EXPECT_FALSE(f.IntroAmountText->isVisible());
    EXPECT_FALSE(f.effectSpeed->isVisible());
    EXPECT_EQ(f.SpeedLabel->text(), "Float Speed");
    EXPECT_EQ(f.Speed->maximum(), 5);
    EXPECT_EQ(f.Speed->value(), 4);
    EXPECT_FALSE(f.Speed->isEnabled());  // "Do not Float" is ticked
    f.CenterCheck->setChecked(false);
    EXPECT_TRUE(f.Speed->isEnabled());
    EXPECT_EQ(settings->floatStill, "0");
    f.Speed->setValue(2);
    EXPECT_EQ(settings->floatSpeed, "2");
    EXPECT_EQ(settings->cloneSpeed, "150");

    // Back to a clone effect: the speed reads imageSpeed reversed.
    f.EffectCbx->setCurrentIndex(0);
    EXPECT_EQ(settings->effect, "0");
    EXPECT_EQ(f.SpeedLabel->text(), "Image Speed");
    EXPECT_EQ(f.Speed->maximum(), 200);
    EXPECT_EQ(f.Speed->value(), 50);
    EXPECT_FALSE(f.TransitionsCbx->isVisible());
    EXPECT_TRUE(f.ClonesScroll->isVisible());
    EXPECT_EQ(settings->floatSpeed, "2");  // setting the slider ran no handler
}

TEST_F(DialogTest, SpeedIsStoredReversed) {
    t.folder.writeSettings("[saver]\nmode=0\n[speed]\nimageSpeed=150\n");
    auto& f = open();
    EXPECT_EQ(f.Speed->value(), 50);
    for (auto [position, text] : {std::pair{1, "200"}, {200, "1"}, {199, "1"}, {50, "150"}}) {
        f.Speed->setValue(position);
        EXPECT_EQ(settings->cloneSpeed, text) << position;
    }
}

TEST_F(DialogTest, EachEffectShowsItsSpeedAndChangeSliders) {
    t.folder.writeSettings(
        "[saver]\nmode=3\nPsychGradient=5\nDeckGradient=6\nSpeedofJump=7\nSpeedofSplat=8\n"
        "ChangeNextImage=0\nNeverChange=False\n");
    auto& f = open();
    struct Case {
        int effect;
        const char* caption;
        int value;
        bool feature2;
    };
    for (const Case& c : {Case{3, "Psychedelic Speed", 5, true}, Case{4, "Deck Speed", 6, false},
                          Case{5, "Jumping Speed", 7, true}, Case{7, "Splat Speed", 8, true}}) {
        f.EffectCbx->setCurrentIndex(c.effect);
        EXPECT_TRUE(f.effectSpeed->isVisible()) << c.effect;
        EXPECT_EQ(f.effectSpeedLabel->text(), c.caption);
        EXPECT_EQ(f.effectSpeed->value(), c.value);
        EXPECT_EQ(f.changeFrequency->isVisible(), c.feature2);
        EXPECT_EQ(f.NeverChangeOption1->isVisible(), !c.feature2);
        EXPECT_EQ(f.ChangeImageScroll->isVisible(), !c.feature2);
        // changeFrequency at "Never" switches the amount off where it is shown.
        EXPECT_EQ(f.IntroAmountText->isEnabled(), !c.feature2);
    }
    f.EffectCbx->setCurrentIndex(5);
    f.effectSpeed->setValue(12);
    EXPECT_EQ(settings->jumpingSpeed, "12");
    EXPECT_EQ(settings->splatSpeed, "8");
    f.changeFrequency->setValue(2);
    EXPECT_EQ(settings->changeFrequency, "2");
    EXPECT_TRUE(f.IntroAmountText->isEnabled());
    EXPECT_TRUE(f.IntroAmountScroll->isEnabled());
    f.EffectCbx->setCurrentIndex(6);
    EXPECT_FALSE(f.effectSpeed->isVisible());
    EXPECT_EQ(f.effectSpeedLabel->text(), "Jumping Speed");  // left as it was
}

TEST_F(DialogTest, LoweringClonesLimitsTheAmountToIntroduce) {
    t.folder.writeSettings("[total]\nClonesOfImage=10\n[saver]\nIntroImageAmount=5\n");
    auto& f = open();
    f.ClonesScroll->setValue_(3);
    EXPECT_EQ(f.IntroAmountScroll->Value(), 3);
    EXPECT_EQ(settings->clonesPerAdmission, "3");
    EXPECT_EQ(f.IntroAmountText->text(), "3");
    EXPECT_EQ(settings->cloneCount, "3");
    f.IntroAmountScroll->setValue_(5);
    EXPECT_EQ(f.IntroAmountScroll->Value(), 3);
    f.ClonesScroll->setValue_(8);
    f.IntroAmountScroll->setValue_(5);
    EXPECT_EQ(settings->clonesPerAdmission, "5");
}

TEST_F(DialogTest, ScrollBarsRiseTowardTheirTopEnd) {
    t.folder.writeSettings("[total]\nClonesOfImage=10\n[saver]\nNextImageTime=30\n");
    auto& f = open();
    f.ClonesScroll->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the upper arrow
    EXPECT_EQ(f.ClonesScroll->Value(), 11);
    f.ClonesScroll->triggerAction(QAbstractSlider::SliderToMinimum);  // the top end
    EXPECT_EQ(f.ClonesScroll->Value(), 21);
    f.ChangeImageScroll->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the lower arrow
    EXPECT_EQ(f.ChangeImageScroll->Value(), 29);
    EXPECT_EQ(settings->changeInterval, "29");
    f.ChangeImageScroll->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f.ChangeImageScroll->Value(), 5);
    EXPECT_EQ(f.ChangeImageScroll->Min(), 60);
    EXPECT_EQ(f.ChangeImageScroll->Max(), 5);
    // The up arrow key raises the value as well.
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(f.ChangeImageScroll, &up);
    EXPECT_EQ(f.ChangeImageScroll->Value(), 6);
}

TEST_F(DialogTest, TheSecondsBoxTakesTypedValuesAndSteppingKeysWithThreeSecondsForFloat) {
    auto key = [](QWidget* to, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        return QCoreApplication::sendEvent(to, &press);
    };
    auto type = [&](dialog::Form2& f, const QString& text) {
        f.ChangeImageText->setFocus();
        f.ChangeImageText->selectAll();
        f.ChangeImageText->insert(text);  // as typed: the box is modified
        key(f.ChangeImageText, Qt::Key_Tab);
    };
    // Float keeps a stored 3; the other effects start at 5.
    t.folder.writeSettings("[saver]\nmode=1\nNextImageTime=3\n");
    auto& f = open();
    t.messages.shown.clear();  // the default list's missing samples
    EXPECT_EQ(f.ChangeImageScroll->Value(), 3);
    EXPECT_EQ(f.ChangeImageText->text(), "3");
    f.EffectCbx->setCurrentIndex(0);
    EXPECT_EQ(f.ChangeImageScroll->Value(), 5);
    EXPECT_EQ(settings->changeInterval, "5");

    type(f, "42");
    EXPECT_EQ(settings->changeInterval, "42");
    EXPECT_TRUE(t.messages.shown.empty());
    // Below the lowest: said why, the typed text kept and selected, nothing stored.
    type(f, "3");
    EXPECT_EQ(t.messages.texts(), QStringList{"Enter a number of seconds from 5 to 60."});
    EXPECT_EQ(f.ChangeImageText->text(), "3");
    EXPECT_EQ(f.ChangeImageText->selectedText(), "3");
    EXPECT_EQ(settings->changeInterval, "42");
    type(f, "many");
    EXPECT_EQ(t.messages.shown.size(), 2u);
    f.EffectCbx->setCurrentIndex(1);  // Float
    type(f, "3");
    EXPECT_EQ(settings->changeInterval, "3");

    // Up and Down step by one, Page Up and Page Down by ten, within the range.
    const std::pair<int, int> steps[] = {
        {Qt::Key_Up, 4}, {Qt::Key_PageUp, 14}, {Qt::Key_Down, 13}, {Qt::Key_PageDown, 3}, {Qt::Key_PageDown, 3}};
    for (const auto& [k, expected] : steps) {
        EXPECT_TRUE(key(f.ChangeImageText, k));
        EXPECT_EQ(f.ChangeImageText->text(), QString::number(expected));
        EXPECT_EQ(settings->changeInterval, QString::number(expected));
    }
}

TEST_F(DialogTest, NeverChangeOptionsStoreTheirWordAndSwitchTheIntervalControls) {
    t.folder.writeSettings("[saver]\nmode=0\nNeverChange=False\n");
    auto& f = open();
    f.NeverChangeOption2->setChecked(true);
    EXPECT_EQ(settings->neverChange, "True");
    for (QWidget* w : {(QWidget*)f.ChangeImageText, (QWidget*)f.ChangeImageScroll, (QWidget*)f.IntroAmountText,
                       (QWidget*)f.IntroAmountScroll})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(dialog::Form2::BackColor(f.ChangeImageText), platform::SystemColorValue(platform::kThreeDLight));
    f.NeverChangeOption1->setChecked(true);
    EXPECT_EQ(settings->neverChange, "False");
    EXPECT_TRUE(f.ChangeImageScroll->isEnabled());
    EXPECT_EQ(dialog::Form2::BackColor(f.IntroAmountText), platform::SystemColorValue(platform::kWindowBackground));
}

TEST_F(DialogTest, RandomTransitionsSwitchTheTransitionListOff) {
    t.folder.writeSettings("[saver]\nmode=1\neffectMode=3\n");
    auto& f = open();
    f.RndTranCheck->setChecked(true);
    EXPECT_EQ(settings->randomTransitions, "1");
    EXPECT_FALSE(f.TransitionsCbx->isEnabled());
    EXPECT_EQ(dialog::Form2::BackColor(f.TransitionsCbx), platform::SystemColorValue(platform::kThreeDLight));
    EXPECT_EQ(settings->floatTransition, "3");
    f.RndTranCheck->setChecked(false);
    EXPECT_TRUE(f.TransitionsCbx->isEnabled());
    f.TransitionsCbx->setCurrentIndex(7);
    EXPECT_EQ(settings->floatTransition, "7");
}

TEST_F(DialogTest, MouseSensitivityIsStoredReversed) {
    auto& f = open();
    for (auto [position, text] : {std::pair{15, "1"}, {14, "1"}, {1, "15"}, {10, "5"}}) {
        f.MouseSensitiveSlider->setValue(position);
        EXPECT_EQ(settings->mouseSensitivity, text) << position;
    }
}

TEST_F(DialogTest, ColourChooserStartsOnTheCurrentColourAndIgnoresCancel) {
    t.folder.writeSettings("[saver]\nnewBackColor=255\n[total]\nnewTotal=0\n");
    auto& f = open();
    dialogs.colorAnswers.push_back(QColor(0, 0, 255));
    f.backColorClick_Click();
    ASSERT_EQ(dialogs.colorRequests.size(), 1u);
    EXPECT_EQ(dialogs.colorRequests[0], QColor(255, 0, 0));
    EXPECT_EQ(settings->backgroundColor, "16711680");
    EXPECT_EQ(f.BackColorPicture->box().BackColor(), 16711680);
    f.backColorClick_Click();  // cancelled
    EXPECT_EQ(dialogs.colorRequests[1], QColor(0, 0, 255));
    EXPECT_EQ(settings->backgroundColor, "16711680");
    EXPECT_TRUE(t.messages.shown.empty());
}

TEST_F(DialogTest, PasswordCheckBoxSwitchesBothBoxesAndKeepsTheirText) {
    t.folder.writeSettings("[password]\nsaverPassword=abc\nsaverEnabled=0\n");
    auto& f = open();
    f.Password_enabled->setChecked(true);
    EXPECT_EQ(settings->passwordEnabled, "1");
    EXPECT_TRUE(f.SS_password->isEnabled());
    EXPECT_TRUE(f.SS_Confirm->isEnabled());
    f.SS_password->setText("xyz");
    EXPECT_EQ(settings->password, "xyz");
    f.Password_enabled->setChecked(false);
    EXPECT_EQ(settings->passwordEnabled, "0");
    EXPECT_FALSE(f.SS_Confirm->isEnabled());
    EXPECT_EQ(f.SS_password->text(), "xyz");
    EXPECT_EQ(f.confirmText, "abc");
}

TEST_F(DialogTest, AnEffectSettingOutsideTheSlidersRangeBecomesTheValueItShows) {
    t.folder.writeSettings("[saver]\nmode=7\nSpeedofSplat=-1e9\nDeckGradient=40\nPsychGradient=12.5\n");
    auto& f = open();
    EXPECT_EQ(f.effectSpeed->value(), 1);
    EXPECT_EQ(settings->splatSpeed, "1");
    f.EffectCbx->setCurrentIndex(4);
    EXPECT_EQ(f.effectSpeed->value(), 21);
    EXPECT_EQ(settings->deckSpeed, "21");
    // Within the range a stored value stays as read, as the slider's handler does not run.
    f.EffectCbx->setCurrentIndex(3);
    EXPECT_EQ(f.effectSpeed->value(), 12);
    EXPECT_EQ(settings->psychedelicSpeed, "12.5");
}
