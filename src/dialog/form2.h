// Form2: the settings dialog, the program's only editor of the settings
// file. Its control handlers keep the settings variables up to date; "&OK"
// converts the pictures into the image cache and writes every key.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <memory>
#include <optional>

#include "runtime/common_dialogs.h"
#include "platform/environment.h"
#include "settings/settings.h"

template <typename T>
class QFutureWatcher;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QStatusBar;
class QTimer;

namespace dialog {

class PictureList;
class PictureView;
class VerticalScrollBar;

class Form2 : public QDialog {
    Q_OBJECT
public:
    Form2(settings::Settings& settings, platform::Environment& env, QWidget* parent = nullptr);
    ~Form2() override;

    // Centres the dialog and fills every control from the settings file.
    void Form_Load();

    // The file and colour dialogs (Qt's own unless replaced, e.g. by a recorder).
    void setCommonDialogs(platform::CommonDialogs* dialogs) { dialogs_ = dialogs; }

    // Button handlers.
    void OK_Click();
    void Cancel_Click();
    void add_Click();
    // Adds every picture in a folder and its subfolders.
    void addFolder_Click();
    void remove_Click();
    void RemoveAll_Click();
    void backColorClick_Click();
    // Shows the selected picture's thumbnail once it is decoded (off the
    // dialog's thread: the list stays responsive).
    void pictureList_Click();
    void ShowThumbnail();
    // Waits until the thumbnail being decoded is shown (for tests).
    void waitForThumbnail();
    // A thumbnail decoded away from the dialog's thread.
    struct DecodedThumbnail {
        QImage picture;
        QSize natural;
        QString failure;  // empty when decoded
    };

    // A slider moved by the user (a value set by code runs none of these).
    void Speed_Scroll();
    void effectSpeed_Scroll();
    void changeFrequency_Scroll();
    void MouseSensitiveSlider_Scroll();

    // The thumbnail size being computed, in twips.
    long thumbWidth = 0;
    long thumbHeight = 0;
    // The text of the "Confirm" box; never stored.
    QString confirmText;

    // The controls.
    QPushButton* Cancel = nullptr;
    QPushButton* Ok = nullptr;
    QGroupBox* photoDisplay = nullptr;
    QGroupBox* Password = nullptr;
    VerticalScrollBar* ClonesScroll = nullptr;
    QLineEdit* ClonesText = nullptr;
    QSlider* Speed = nullptr;
    QComboBox* EffectCbx = nullptr;
    QSlider* effectSpeed = nullptr;
    QLabel* effectSpeedLabel = nullptr;
    QSlider* MouseSensitiveSlider = nullptr;
    QStatusBar* SS_StatusBar = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* backColorClick = nullptr;
    PictureView* BackColorPicture = nullptr;
    QLabel* SpeedLabel = nullptr;
    QLineEdit* IntroAmountText = nullptr;
    VerticalScrollBar* IntroAmountScroll = nullptr;
    QLineEdit* ChangeImageText = nullptr;
    VerticalScrollBar* ChangeImageScroll = nullptr;
    QSlider* changeFrequency = nullptr;
    QLabel* effectSpeedRight = nullptr;
    QLabel* effectSpeedLeft = nullptr;
    QLabel* changeFrequencyLeft = nullptr;
    QLabel* changeFrequencyRight = nullptr;
    QLabel* changeFrequencyLabel = nullptr;
    QRadioButton* NeverChangeOption1 = nullptr;
    QRadioButton* NeverChangeOption2 = nullptr;
    QComboBox* TransitionsCbx = nullptr;
    QLabel* TransitionsLabel = nullptr;
    QLabel* EffectLabel = nullptr;
    QCheckBox* RndTranCheck = nullptr;
    QCheckBox* CenterCheck = nullptr;
    QCheckBox* ShuffleCheck = nullptr;
    // Float: shrink pictures larger than the screen to fit it ("fitToScreen").
    QCheckBox* FitCheck = nullptr;
    // How large the saver draws pictures: "Automatic", 100, 150 or 200 %.
    QComboBox* PictureSizeCbx = nullptr;
    // Inside photoDisplay.
    QLineEdit* pictureCount = nullptr;
    PictureList* pictureList = nullptr;
    QPushButton* add = nullptr;
    QPushButton* addFolder = nullptr;
    QPushButton* remove = nullptr;
    QPushButton* RemoveAll = nullptr;
    PictureView* thumbnail = nullptr;
    // Inside Password.
    QCheckBox* Password_enabled = nullptr;
    QLineEdit* SS_password = nullptr;
    QLineEdit* SS_Confirm = nullptr;
    // The labels without a name of their own that handlers show and hide.
    QLabel* clonesLabel = nullptr;
    QLabel* introAmountLabel = nullptr;
    QLabel* changeImageLabel = nullptr;
    QLabel* secLabel = nullptr;
    // The status bar's panels: owner notice, version, time of day.
    QLabel* statusPanels[3] = {nullptr, nullptr, nullptr};

    // The picture the hidden work box `photo` holds and its natural size in
    // twips. Only a thumbnail-sized copy is kept: the box is only ever drawn
    // into `thumbnail`.
    QImage photoPicture;
    long photoWidth = 0;
    long photoHeight = 0;

    // The background colour a text box or combo box shows (a Windows colour value).
    static int64_t BackColor(const QWidget* control);

    // The filter entries of the open-file dialog.
    static QStringList PictureFilters();

protected:
    // Return presses the focused button only: the dialog has no default button.
    void keyPressEvent(QKeyEvent* event) override;
    // The seconds box takes typed values and the stepping keys.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // While the pictures are being prepared, Escape and closing the window
    // stop the preparing instead.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildStatusBar();
    void setTabOrder_();
    void connectHandlers();
    void updateClock();

    // Change and click handlers of the value controls.
    void EffectCbx_Click();
    void TransitionsCbx_Click();
    void RndTranCheck_Click();
    void CenterCheck_Click();
    void ShuffleCheck_Click();
    void FitCheck_Click();
    void PictureSizeCbx_Click();
    void ChangeImageScroll_Change();
    void IntroAmountScroll_Change();
    void ClonesScroll_Change();
    void NeverChangeOption1_Click();
    void NeverChangeOption2_Click();
    void Password_enabled_Click();
    void SS_password_Change();
    void SS_Confirm_Change();

    // Setting a slider from code: its scroll handler does not run.
    void setSlider(QSlider* slider, int maximum, int minimum, int tickSpacing, int value);
    void setSliderValue(QSlider* slider, int value);
    // Selecting a list entry from code runs pictureList_Click, as a user click would.
    void selectListEntry(int index);
    // Selects and scrolls to an entry that failed at "&OK", without loading
    // its thumbnail (the failure's own message says what is wrong).
    void showFailedEntry(int index);
    // A text box or combo box switched on or off, with its background colour.
    static void switchControl(QWidget* control, bool on);
    void startThumbnail();
    void thumbnailDecoded();
    // Forgets any thumbnail still being decoded.
    void dropThumbnail();
    // Appends the pictures not yet listed (offering to replace the samples
    // first), selects the last one added, and sums up in one message the
    // files skipped and the folders not read.
    void addPictures(const QStringList& pictures, const QStringList& skipped, const QStringList& unreadable);
    // Whether every entry of a non-empty list is one of the bundled samples.
    bool holdsOnlySamples() const;
    void drawBackColor(int64_t color);
    // The lowest number of seconds between changes the effect allows.
    static int LowestChangeInterval(const QString& effect);
    // Puts the typed number of seconds into the scroll bar; a number out of
    // range says why and stays selected for correcting. False then.
    bool takeTypedSeconds();
    void stepSeconds(int step);

    settings::Settings& settings_;
    platform::Environment& env_;
    std::unique_ptr<platform::QtCommonDialogs> qtDialogs_;
    platform::CommonDialogs* dialogs_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    // The colour dialog's current colour (a Windows colour value).
    int32_t dialogColor_ = 0;
    // True while code sets a slider or a list selection.
    bool settingFromCode_ = false;
    // Switches off every enabled control but `live`; returns those switched off.
    QList<QWidget*> switchOffAllBut(std::initializer_list<QWidget*> live);
    // True while "&OK" prepares the pictures; Cancel then asks it to stop.
    bool preparing_ = false;
    bool cancelRequested_ = false;
    // The thumbnail decodes: the newest request, the one being decoded.
    QFutureWatcher<DecodedThumbnail>* thumbnailDecode_ = nullptr;
    std::optional<QString> wantedThumbnail_;
    int thumbnailRequest_ = 0;
    int startedRequest_ = 0;
    bool thumbnailBusy_ = false;
    // True while the seconds box explains a refused value.
    bool explainingSeconds_ = false;
};

}  // namespace dialog
