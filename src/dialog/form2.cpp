#include "dialog/form2.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "dialog/picture_list.h"
#include "dialog/picture_view.h"
#include "dialog/vertical_scroll_bar.h"
#include "runtime/scoped_flag.h"

namespace dialog {

Form2::Form2(settings::Settings& settings, platform::Environment& env, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      env_(env),
      qtDialogs_(std::make_unique<platform::QtCommonDialogs>()),
      dialogs_(qtDialogs_.get()) {
    buildControls();
    connectHandlers();
}

// A decode still running finishes before its watcher goes.
Form2::~Form2() { thumbnailDecode_->waitForFinished(); }

void Form2::connectHandlers() {
    connect(Ok, &QPushButton::clicked, this, &Form2::OK_Click);
    connect(Cancel, &QPushButton::clicked, this, &Form2::Cancel_Click);
    connect(add, &QPushButton::clicked, this, &Form2::add_Click);
    connect(addFolder, &QPushButton::clicked, this, &Form2::addFolder_Click);
    connect(remove, &QPushButton::clicked, this, &Form2::remove_Click);
    connect(RemoveAll, &QPushButton::clicked, this, &Form2::RemoveAll_Click);
    connect(backColorClick, &QPushButton::clicked, this, &Form2::backColorClick_Click);
    connect(pictureList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!settingFromCode_ && row >= 0) pictureList_Click();
    });

    // Sliders answer the user only; code sets them with the flag up.
    auto onUser = [this](QSlider* slider, void (Form2::*handler)()) {
        connect(slider, &QSlider::valueChanged, this, [this, handler] {
            if (!settingFromCode_) (this->*handler)();
        });
    };
    onUser(Speed, &Form2::Speed_Scroll);
    onUser(effectSpeed, &Form2::effectSpeed_Scroll);
    onUser(changeFrequency, &Form2::changeFrequency_Scroll);
    onUser(MouseSensitiveSlider, &Form2::MouseSensitiveSlider_Scroll);

    // Every other value control runs its handler on each change of value,
    // whoever makes it; Qt signals only real changes. A check box's signal
    // also tells the grey (partly checked) state from checked, which
    // `toggled` does not; Qt 6.7 renamed it.
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    constexpr auto checkChanged = &QCheckBox::checkStateChanged;
#else
    constexpr auto checkChanged = &QCheckBox::stateChanged;
#endif
    connect(EffectCbx, &QComboBox::currentIndexChanged, this, &Form2::EffectCbx_Click);
    connect(TransitionsCbx, &QComboBox::currentIndexChanged, this, &Form2::TransitionsCbx_Click);
    connect(PictureSizeCbx, &QComboBox::currentIndexChanged, this, &Form2::PictureSizeCbx_Click);
    connect(RndTranCheck, checkChanged, this, &Form2::RndTranCheck_Click);
    connect(CenterCheck, checkChanged, this, &Form2::CenterCheck_Click);
    connect(ShuffleCheck, checkChanged, this, &Form2::ShuffleCheck_Click);
    connect(FitCheck, checkChanged, this, &Form2::FitCheck_Click);
    connect(Password_enabled, checkChanged, this, &Form2::Password_enabled_Click);
    connect(ChangeImageScroll, &VerticalScrollBar::Change, this, &Form2::ChangeImageScroll_Change);
    connect(IntroAmountScroll, &VerticalScrollBar::Change, this, &Form2::IntroAmountScroll_Change);
    connect(ClonesScroll, &VerticalScrollBar::Change, this, &Form2::ClonesScroll_Change);
    connect(NeverChangeOption1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) NeverChangeOption1_Click();
    });
    connect(NeverChangeOption2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) NeverChangeOption2_Click();
    });
    connect(SS_password, &QLineEdit::textChanged, this, &Form2::SS_password_Change);
    connect(SS_Confirm, &QLineEdit::textChanged, this, &Form2::SS_Confirm_Change);
    ChangeImageText->installEventFilter(this);
    thumbnailDecode_ = new QFutureWatcher<DecodedThumbnail>(this);
    connect(thumbnailDecode_, &QFutureWatcherBase::finished, this, &Form2::thumbnailDecoded);
}

void Form2::Cancel_Click() {
    if (!preparing_) {
        close();
        return;
    }
    cancelRequested_ = true;
    statusPanels[0]->setText(QStringLiteral("Stopping..."));
}

void Form2::reject() {
    if (preparing_)
        Cancel_Click();
    else
        QDialog::reject();
}

void Form2::closeEvent(QCloseEvent* event) {
    if (!preparing_) return QDialog::closeEvent(event);
    event->ignore();
    Cancel_Click();
}

QList<QWidget*> Form2::switchOffAllBut(std::initializer_list<QWidget*> live) {
    QList<QWidget*> switchedOff;
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (std::find(live.begin(), live.end(), control) != live.end() || !control->isEnabled()) continue;
        control->setEnabled(false);
        switchedOff << control;
    }
    return switchedOff;
}

void Form2::keyPressEvent(QKeyEvent* event) {
    // A focused button takes Return itself; anywhere else Return does nothing
    // (Qt would otherwise press a button it chose as the dialog's default).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form2::setSlider(QSlider* slider, int maximum, int minimum, int tickSpacing, int value) {
    platform::ScopedFlag fromCode(settingFromCode_);
    slider->setMaximum(maximum);
    slider->setMinimum(minimum);
    slider->setTickInterval(tickSpacing);
    slider->setPageStep(tickSpacing);
    slider->setValue(value);
}

void Form2::setSliderValue(QSlider* slider, int value) {
    platform::ScopedFlag fromCode(settingFromCode_);
    slider->setValue(value);
}

void Form2::selectListEntry(int index) {
    {
        platform::ScopedFlag fromCode(settingFromCode_);
        pictureList->setCurrentRow(index);
    }
    pictureList_Click();
}

void Form2::showFailedEntry(int index) {
    {
        platform::ScopedFlag fromCode(settingFromCode_);
        pictureList->setCurrentRow(index);
        pictureList->scrollToItem(pictureList->item(index));
    }
    dropThumbnail();
    thumbnail->box().Cls();
    thumbnail->refresh();
}

}  // namespace dialog
