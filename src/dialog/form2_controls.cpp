// The effect, option and password controls: each handler copies its
// control's value into a settings variable and adjusts its neighbours.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

#include "dialog/form2.h"
#include "dialog/picture_view.h"
#include "dialog/value_conversions.h"
#include "dialog/vertical_scroll_bar.h"
#include "display/effect_table.h"
#include "runtime/colors.h"
#include "runtime/vb.h"
#include "settings/effect.h"

namespace dialog {

namespace {

using settings::Effect;
using settings::Settings;

int CheckValue(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void showAll(std::initializer_list<QWidget*> widgets, bool visible) {
    for (QWidget* w : widgets) w->setVisible(visible);
}

// The effect's own speed slider: its caption and the key it sets. Effects
// without one get neither.
struct OwnSpeed {
    const char* caption = nullptr;
    QString Settings::*variable = nullptr;
};
OwnSpeed OwnSpeedOf(Effect effect) {
    const display::EffectInfo* info = display::FindEffect(effect);
    if (!info) return {};
    return {info->speedCaption, info->speedKey};
}

}  // namespace

void Form2::EffectCbx_Click() {
    const int index = EffectCbx->currentIndex();
    settings_.effect = vb::CStr(int32_t(index));
    const Effect effect = Effect::FromNumber(index);
    if (effect == Effect::None) return;
    const bool isFloat = effect == Effect::Float;
    const OwnSpeed f = OwnSpeedOf(effect);
    const bool hasEffectSpeed = f.variable != nullptr;
    // The effects that pace their own changes take a change frequency
    // instead of the interval between changes.
    const bool hasChangeFrequency = effect.pacesItsOwnChanges();

    showAll({effectSpeed, effectSpeedLabel, effectSpeedLeft, effectSpeedRight}, hasEffectSpeed);
    if (hasEffectSpeed) {
        effectSpeedLabel->setText(QString::fromLatin1(f.caption));
        QString& stored = settings_.*f.variable;
        const int32_t value = ControlValue(stored, f.variable, 1, 21);
        // A number outside the slider's range becomes the value it shows, as
        // with the scroll bars: a stored -1e9 would stop the saver.
        if (ControlValue(stored, f.variable, INT32_MIN, INT32_MAX) != value) stored = vb::CStr(value);
        setSlider(effectSpeed, 21, 1, 2, value);
    }
    showAll({changeFrequency, changeFrequencyLabel, changeFrequencyLeft, changeFrequencyRight}, hasChangeFrequency);
    showAll({NeverChangeOption1, NeverChangeOption2}, !hasChangeFrequency);
    showAll({IntroAmountText, IntroAmountScroll, introAmountLabel}, !isFloat);
    showAll({ClonesText, ClonesScroll, clonesLabel}, !isFloat);
    SpeedLabel->setText(isFloat ? QStringLiteral("Float Speed") : QStringLiteral("Image Speed"));
    if (isFloat) {
        setSlider(Speed, 5, 1, 1, ControlValue(settings_.floatSpeed, &Settings::floatSpeed, 1, 5));
    } else {
        Speed->setEnabled(true);
        setSlider(Speed, 200, 1, 10, ReversedValue(settings_.cloneSpeed, &Settings::cloneSpeed, 200));
    }
    showAll({TransitionsCbx, TransitionsLabel, RndTranCheck, CenterCheck, FitCheck}, isFloat);
    if (isFloat) Speed->setEnabled(CheckValue(CenterCheck) != 1);
    const bool introOn = hasChangeFrequency ? changeFrequency->value() != 0 : !NeverChangeOption2->isChecked();
    switchControl(IntroAmountText, introOn);
    IntroAmountScroll->setEnabled(introOn);
    showAll({ChangeImageText, ChangeImageScroll, changeImageLabel, secLabel}, !hasChangeFrequency);
    ChangeImageScroll->setMax(LowestChangeInterval(settings_.effect));
}

void Form2::TransitionsCbx_Click() { settings_.floatTransition = vb::CStr(int32_t(TransitionsCbx->currentIndex())); }

void Form2::RndTranCheck_Click() {
    const int value = CheckValue(RndTranCheck);
    settings_.randomTransitions = vb::CStr(int32_t(value));
    switchControl(TransitionsCbx, value != 1);
}

void Form2::ShuffleCheck_Click() { settings_.shuffle = vb::CStr(int32_t(CheckValue(ShuffleCheck))); }

void Form2::CenterCheck_Click() {
    const int value = CheckValue(CenterCheck);
    settings_.floatStill = vb::CStr(int32_t(value));
    Speed->setEnabled(value != 1);
}

// Stores whether Float shrinks pictures larger than the screen.
void Form2::FitCheck_Click() { settings_.fitToScreen = vb::CStr(int32_t(CheckValue(FitCheck))); }

void Form2::PictureSizeCbx_Click() { settings_.pictureSize = PictureSizeText(PictureSizeCbx->currentIndex()); }

void Form2::Speed_Scroll() {
    const int v = Speed->value();
    if (Effect::TextIs(settings_.effect, Effect::Float))
        settings_.floatSpeed = vb::CStr(int32_t(v));
    else
        settings_.cloneSpeed = ReversedText(v, 200);
}

void Form2::effectSpeed_Scroll() {
    if (QString Settings::*variable = OwnSpeedOf(Effect::Stored(settings_.effect)).variable)
        settings_.*variable = vb::CStr(int32_t(effectSpeed->value()));
}

void Form2::changeFrequency_Scroll() {
    const int v = changeFrequency->value();
    settings_.changeFrequency = vb::CStr(int32_t(v));
    switchControl(IntroAmountText, v != 0);
    IntroAmountScroll->setEnabled(v != 0);
}

void Form2::ChangeImageScroll_Change() {
    settings_.changeInterval = vb::CStr(int32_t(ChangeImageScroll->Value()));
    ChangeImageText->setText(settings_.changeInterval);
}

void Form2::IntroAmountScroll_Change() {
    settings_.clonesPerAdmission = vb::CStr(int32_t(IntroAmountScroll->Value()));
    IntroAmountText->setText(settings_.clonesPerAdmission);
}

void Form2::ClonesScroll_Change() {
    const int clones = ClonesScroll->Value();
    // The amount to introduce never exceeds the number of clones.
    if (IntroAmountScroll->Value() > clones) IntroAmountScroll->setValue_(clones);
    IntroAmountScroll->setMin(clones);
    ClonesText->setText(vb::CStr(int32_t(clones)));
    settings_.cloneCount = vb::CStr(int32_t(clones));
}

void Form2::NeverChangeOption1_Click() {
    settings_.neverChange = vb::BoolText(false);
    switchControl(ChangeImageText, true);
    ChangeImageScroll->setEnabled(true);
    switchControl(IntroAmountText, true);
    IntroAmountScroll->setEnabled(true);
}

void Form2::NeverChangeOption2_Click() {
    settings_.neverChange = vb::BoolText(true);
    switchControl(ChangeImageText, false);
    ChangeImageScroll->setEnabled(false);
    switchControl(IntroAmountText, false);
    IntroAmountScroll->setEnabled(false);
}

void Form2::MouseSensitiveSlider_Scroll() {
    settings_.mouseSensitivity = ReversedText(MouseSensitiveSlider->value(), 15);
}

void Form2::backColorClick_Click() {
    // A cancel, or any failure of the chooser, changes nothing.
    const std::optional<QColor> chosen = dialogs_->ShowColor(this, platform::FromWindowsColor(dialogColor_));
    if (!chosen || !chosen->isValid()) return;
    dialogColor_ = platform::ToWindowsColor(*chosen);
    settings_.backgroundColor = vb::CStr(dialogColor_);
    drawBackColor(dialogColor_);
}

void Form2::Password_enabled_Click() {
    const bool on = CheckValue(Password_enabled) == 1;
    settings_.passwordEnabled = on ? QStringLiteral("1") : QStringLiteral("0");
    switchControl(SS_password, on);
    switchControl(SS_Confirm, on);
}

void Form2::SS_password_Change() { settings_.password = SS_password->text(); }

void Form2::SS_Confirm_Change() { confirmText = SS_Confirm->text(); }

}  // namespace dialog
