// Filling the dialog from the settings file, and committing it on "&OK".
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>

#include "dialog/form2.h"
#include "dialog/password_rules.h"
#include "dialog/picture_list.h"
#include "dialog/picture_view.h"
#include "dialog/value_conversions.h"
#include "dialog/vertical_scroll_bar.h"
#include "imagestore/cache_update.h"
#include "imagestore/cache_paths.h"
#include "imagestore/picture_scale.h"
#include "platform/file_layout.h"
#include "runtime/colors.h"
#include "runtime/scoped_flag.h"
#include "runtime/vb.h"
#include "settings/defaults.h"
#include "settings/effect.h"
#include "settings/settings_io.h"

namespace dialog {

namespace {

using settings::Settings;

constexpr int kTwips = platform::kTwipsPerPixel;

// Sets a scroll bar from a stored value; its change handler runs when the
// value changes. A number outside the bar's range runs it in any case, so
// the variable (and what "&OK" writes) is the value the bar shows: a stored
// 0 clones must not stay 0 behind a bar that says 1.
void setScroll(VerticalScrollBar* bar, const QString& text, QString Settings::*key) {
    const int32_t value = ControlValue(text, key, bar->Max(), bar->Min());
    const bool outside = ControlValue(text, key, INT32_MIN, INT32_MAX) != value;
    const bool changes = bar->Value() != value;
    bar->setValue_(value);
    if (outside && !changes) emit bar->Change();
}

void setCheck(QCheckBox* box, int value) { box->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked); }

bool IsTrue(const QString& text) {
    try {
        return vb::CBool(text);
    } catch (const vb::RuntimeError&) {
        return false;
    }
}

}  // namespace

void Form2::Form_Load() {
    // Centre on the screen, in twips: each difference rounded, then halved.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        const int32_t top = vb::IntDiv(vb::CLng(double(area.height() - height()) * kTwips), 2);
        const int32_t left = vb::IntDiv(vb::CLng(double(area.width() - width()) * kTwips), 2);
        move(area.left() + left / kTwips, area.top() + top / kTwips);
    }
    ProgressBar1->hide();
    // Parsed once for every key.
    const platform::ProfileFile file = platform::ProfileFile::ReadOnce(settings::SettingsPath(env_.settingsFolder()));
    Settings& s = settings_;
    auto read = [&](QString Settings::*key) { settings::ReadSetting(s, file, key); };

    read(&Settings::pictureCount);
    read(&Settings::cloneCount);
    setScroll(ClonesScroll, s.cloneCount, &Settings::cloneCount);
    ClonesText->setText(vb::CStr(int32_t(ClonesScroll->Value())));
    for (auto key : {&Settings::cloneSpeed, &Settings::splatSpeed, &Settings::jumpingSpeed, &Settings::deckSpeed,
                     &Settings::psychedelicSpeed})
        read(key);
    read(&Settings::changeInterval);
    read(&Settings::effect);  // its lowest interval first, so a stored one is not raised
    ChangeImageScroll->setMax(LowestChangeInterval(s.effect));
    setScroll(ChangeImageScroll, s.changeInterval, &Settings::changeInterval);
    read(&Settings::clonesPerAdmission);
    setScroll(IntroAmountScroll, s.clonesPerAdmission, &Settings::clonesPerAdmission);
    // A stored value equal to the bar's starting value runs no change
    // handler, which would leave the boxes empty: they show the bars anyway.
    ChangeImageText->setText(vb::CStr(int32_t(ChangeImageScroll->Value())));
    IntroAmountText->setText(vb::CStr(int32_t(IntroAmountScroll->Value())));
    read(&Settings::neverChange);
    (IsTrue(s.neverChange) ? NeverChangeOption2 : NeverChangeOption1)->setChecked(true);
    read(&Settings::changeFrequency);
    setSliderValue(changeFrequency, ControlValue(s.changeFrequency, &Settings::changeFrequency,
                                                 changeFrequency->minimum(), changeFrequency->maximum()));
    read(&Settings::mouseSensitivity);
    setSliderValue(MouseSensitiveSlider, ReversedValue(s.mouseSensitivity, &Settings::mouseSensitivity, 15));
    read(&Settings::backgroundColor);
    dialogColor_ = ControlValue(s.backgroundColor, &Settings::backgroundColor, INT32_MIN, INT32_MAX);
    drawBackColor(dialogColor_);

    {
        platform::ScopedFlag fromCode(settingFromCode_);
        pictureList->clear();
        pictureList->addItems(settings::ReadPictureList(s, file, env_.samplesHome()));
    }

    read(&Settings::floatTransition);
    TransitionsCbx->setCurrentIndex(
        ControlValue(s.floatTransition, &Settings::floatTransition, 0, TransitionsCbx->count() - 1));
    read(&Settings::randomTransitions);
    setCheck(RndTranCheck, ControlValue(s.randomTransitions, &Settings::randomTransitions, 0, 1));
    read(&Settings::floatStill);
    setCheck(CenterCheck, ControlValue(s.floatStill, &Settings::floatStill, 0, 1));
    read(&Settings::floatSpeed);
    read(&Settings::shuffle);
    setCheck(ShuffleCheck, ControlValue(s.shuffle, &Settings::shuffle, 0, 1));
    read(&Settings::fitToScreen);
    setCheck(FitCheck, ControlValue(s.fitToScreen, &Settings::fitToScreen, 0, 1));
    read(&Settings::pictureSize);
    PictureSizeCbx->setCurrentIndex(PictureSizeIndex(s.pictureSize));
    read(&Settings::password);
    SS_password->setText(s.password);
    SS_Confirm->setText(s.password);
    read(&Settings::passwordEnabled);
    const bool protectionOn = IsNumber(s.passwordEnabled, 1);
    Password_enabled->setCheckState(protectionOn ? Qt::Checked : Qt::Unchecked);
    switchControl(SS_password, protectionOn);
    switchControl(SS_Confirm, protectionOn);
    // The effect last: its handler rebuilds the dialog with every other value loaded.
    read(&Settings::effect);
    EffectCbx->setCurrentIndex(ControlValue(s.effect, &Settings::effect, 0, EffectCbx->count() - 1));

    pictureCount->setText(vb::CStr(int32_t(pictureList->count())));
    if (pictureList->count() >= 1) selectListEntry(0);
}

void Form2::OK_Click() {
    Settings& s = settings_;
    s.pictureCount = vb::CStr(int32_t(pictureList->count()));
    const platform::ProfileFile file(settings::SettingsPath(env_.settingsFolder()));

    if (pictureList->count() == 0 || pictureList->item(0)->text().isEmpty()) {
        env_.messages->MsgBox(QStringLiteral("You need to load at least one image file."), platform::kExclamation);
        return;
    }
    const bool protectionOn = Password_enabled->checkState() == Qt::Checked;
    if (protectionOn && s.password.isEmpty() && confirmText.isEmpty()) {
        env_.messages->MsgBox(QStringLiteral("You must enter a 'Password' or uncheck 'Password Protection'."),
                              platform::kExclamation);
        return;
    }
    if (protectionOn && s.password != confirmText) {
        env_.messages->MsgBox(QStringLiteral("The 'Password' and 'Confirm' entries must be the same."),
                              platform::kExclamation);
        return;
    }
    // A password the settings file cannot give back as typed would lock the
    // user out at the prompt.
    if (const QString problem = protectionOn ? PasswordProblem(s.password) : QString(); !problem.isEmpty()) {
        env_.messages->MsgBox(problem, platform::kExclamation);
        return;
    }

    QStringList pictures;
    for (int i = 0; i < pictureList->count(); ++i) pictures << pictureList->item(i)->text();

    if (!settings::Effect::TextIs(s.effect, settings::Effect::Float)) {
        // The cache folder is made when missing; a folder that cannot be made
        // is named as the cause, not blamed on a picture.
        const QString cacheFolder = imagestore::CacheFolder(env_.dataFolder());
        if (!platform::MakeFolder(cacheFolder)) {
            env_.messages->MsgBox(QStringLiteral("The folder for the cached pictures could not be made:") +
                                      QStringLiteral("\r\n") + cacheFolder,
                                  platform::kExclamation);
            return;
        }
        const int total = int(pictures.size());
        ProgressBar1->setRange(0, total);
        ProgressBar1->setValue(0);
        ProgressBar1->show();
        const QString notice = statusPanels[0]->text();
        // The dialog keeps answering while the pictures convert; only Cancel
        // is live, and stops it.
        const QList<QWidget*> switchedOff = switchOffAllBut({Cancel, ProgressBar1, SS_StatusBar});
        preparing_ = true;
        cancelRequested_ = false;
        imagestore::BatchResult result;
        try {
            // Only pictures whose cached copy is missing or out of date are converted.
            result = imagestore::UpdateCache(
                pictures, env_.dataFolder(), s.backgroundColor,
                [&](int i) {
                    statusPanels[0]->setText(QStringLiteral("Preparing pictures: %1 of %2").arg(i + 1).arg(total));
                    ProgressBar1->setValue(i + 1);
                    s.imageEntry = pictures[i];
                },
                nullptr,
                [this] {
                    QCoreApplication::processEvents();
                    return !cancelRequested_;
                },
                imagestore::LargestScreenScale(settings::PictureScalePercent(s.pictureSize).value_or(0)));
        } catch (const std::exception& e) {
            result.failedIndex = pictures.indexOf(s.imageEntry);
            result.error = QString::fromLocal8Bit(e.what());
        }
        preparing_ = false;
        for (QWidget* control : switchedOff) control->setEnabled(true);
        statusPanels[0]->setText(notice);
        if (result.cancelled) {
            // Nothing saved, the cache as before: the user goes on editing.
            ProgressBar1->hide();
            return;
        }
        if (result.failedIndex >= 0) {
            if (result.failedIndex < pictures.size()) {
                s.imageEntry = pictures[result.failedIndex];
                // Selected, so that one "&Remove" takes it out of a long list.
                showFailedEntry(result.failedIndex);
            }
            QString message =
                QStringLiteral("Image Processing Error. Please reload ") + QStringLiteral("\r\n") + s.imageEntry;
            if (!result.reason.isEmpty()) message += QStringLiteral("\r\n(") + result.reason + u')';
            env_.messages->MsgBox(message, platform::kExclamation);
            ProgressBar1->hide();
            return;
        }
    }

    // One atomic replace of the whole file: an interrupted write leaves the
    // old file. A write that fails is reported and keeps the dialog open, so
    // the user's edits are not thrown away silently.
    platform::MakeFolder(env_.settingsFolder());
    if (!settings::WriteAllSettings(s, pictures, file)) {
        env_.messages->MsgBox(
            QStringLiteral("The settings could not be saved to") + QStringLiteral("\r\n") + file.path(),
            platform::kExclamation);
        ProgressBar1->hide();
        return;
    }
    close();
}

void Form2::drawBackColor(int64_t color) {
    BackColorPicture->box().setBackColor(color);
    BackColorPicture->refresh();
}

}  // namespace dialog
