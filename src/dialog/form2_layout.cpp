// The dialog's controls: kinds, captions, tips, places (in twips, 15 to a
// pixel), designed values, lists, fonts and tab order.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

#include "dialog/form2.h"
#include "dialog/picture_gathering.h"
#include "dialog/picture_view.h"
#include "dialog/vertical_scroll_bar.h"
#include "display/effect_table.h"
#include "runtime/colors.h"
#include "settings/effect.h"

namespace dialog {

namespace {

constexpr int kTwips = platform::kTwipsPerPixel;
constexpr int kClientWidth = 8820;
constexpr int kClientHeight = 6435;

template <typename W>
W* place(W* widget, int left, int top, int width, int height, const QString& tip = QString()) {
    widget->setGeometry(left / kTwips, top / kTwips, width / kTwips, height / kTwips);
    if (!tip.isEmpty()) widget->setToolTip(tip);
    return widget;
}

QLabel* label(QWidget* parent, const QString& caption, int left, int top, int width, int height, bool centred = false) {
    auto* l = place(new QLabel(caption, parent), left, top, width, height);
    if (centred) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
}

QSlider* slider(QWidget* parent, int left, int top, int width, int height, int minimum, int maximum, int tick,
                int value, const QString& tip = QString()) {
    auto* s = place(new QSlider(Qt::Horizontal, parent), left, top, width, height, tip);
    s->setRange(minimum, maximum);
    s->setTickInterval(tick);
    s->setTickPosition(QSlider::TicksBelow);
    s->setSingleStep(1);
    s->setPageStep(tick);
    s->setValue(value);
    return s;
}

// The design's fonts at their sizes; where a family is missing (as on most
// Linux systems) the closest common family of the same kind stands in.
QFont designFont(const QString& family, QFont::StyleHint hint, double points) {
    QFont font;
    QStringList families{family};
    if (hint == QFont::Serif)
        families << QStringLiteral("Times New Roman") << QStringLiteral("Liberation Serif")
                 << QStringLiteral("Nimbus Roman") << QStringLiteral("DejaVu Serif");
    else
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans") << QStringLiteral("Nimbus Sans")
                 << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    return font;
}

QLineEdit* valueBox(QWidget* parent, int left, int top, const QString& tip) {
    auto* box = place(new QLineEdit(parent), left, top, 375, 375, tip);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(designFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 9.75));
    return box;
}

}  // namespace

QStringList Form2::PictureFilters() {
    // Each pattern in both letter cases: file names on this system keep theirs.
    auto patterns = [](const QStringList& extensions) {
        QStringList out;
        for (const QString& ext : extensions) out << QStringLiteral("*.") + ext << QStringLiteral("*.") + ext.toUpper();
        return out.join(u' ');
    };
    return {
        QStringLiteral("Image files (%1)").arg(patterns(PictureExtensions())),
        QStringLiteral("CompuServe Files (%1)").arg(patterns({"gif"})),
        QStringLiteral("Jpeg Files (%1)").arg(patterns({"jpg", "jpeg"})),
        QStringLiteral("Jif files (%1)").arg(patterns({"jif"})),
        QStringLiteral("Windows Bitmap Files (%1)").arg(patterns({"bmp"})),
        QStringLiteral("Windows DIB files (%1)").arg(patterns({"dib"})),
        QStringLiteral("PNG files (%1)").arg(patterns({"png"})),
        QStringLiteral("WebP files (%1)").arg(patterns({"webp"})),
        QStringLiteral("TIFF files (%1)").arg(patterns({"tif", "tiff"})),
        QStringLiteral("HEIC and HEIF files (%1)").arg(patterns({"heic", "heif", "hif"})),
        QStringLiteral("AVIF files (%1)").arg(patterns({"avif"})),
        QStringLiteral("All files (*)"),
    };
}

void Form2::buildControls() {
    setWindowTitle(QStringLiteral(" Glidorama "));
    setFixedSize(kClientWidth / kTwips, kClientHeight / kTwips);
    // The system's dialog font of the design's era; the closest sans serif here.
    setFont(designFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 8));
    setSizeGripEnabled(false);

    Cancel = place(new QPushButton(QStringLiteral("&Cancel"), this), 7440, 5760, 1215, 375);
    Ok = place(new QPushButton(QStringLiteral("&OK"), this), 6120, 5760, 1215, 375);

    photoDisplay = place(new QGroupBox(QStringLiteral("Image "), this), 120, 120, 3975, 4815);
    pictureCount = place(new QLineEdit(photoDisplay), 3360, 2400, 375, 285, QStringLiteral("Image amount"));
    pictureList = place(new QListWidget(photoDisplay), 120, 2760, 3615, 1320, QStringLiteral("Loaded Image(s)"));
    pictureList->setFont(designFont(QStringLiteral("Times New Roman"), QFont::Serif, 6.75));
    add = place(new QPushButton(QStringLiteral("&Add"), photoDisplay), 120, 4200, 1095, 375,
                QStringLiteral("Load An Image"));
    remove = place(new QPushButton(QStringLiteral("&Remove"), photoDisplay), 1320, 4200, 1095, 375,
                   QStringLiteral("Remove An Image"));
    RemoveAll = place(new QPushButton(QStringLiteral("R&emove All"), photoDisplay), 2520, 4200, 1215, 375,
                      QStringLiteral("Remove All Images"));
    thumbnail = place(new PictureView(photoDisplay), 240, 360, 3375, 1815, QStringLiteral("Thumbnail Preview"));
    thumbnail->setFont(designFont(QStringLiteral("Times New Roman"), QFont::Serif, 9));
    label(photoDisplay, QStringLiteral("Loaded Image(s)"), 120, 2520, 1455, 255);
    // Between the list's caption and its count: a whole folder at once.
    addFolder = place(new QPushButton(QStringLiteral("Add &Folder..."), photoDisplay), 1620, 2385, 1155, 330,
                      QStringLiteral("Add every picture in a folder and its subfolders"));
    label(photoDisplay, QStringLiteral("Total"), 2880, 2400, 495, 255);

    Password =
        place(new QGroupBox(QStringLiteral("Password Protection / Message Board"), this), 4200, 3960, 4455, 1215);
    Password_enabled = place(new QCheckBox(QStringLiteral("Enabled"), Password), 240, 480, 975, 375,
                             QStringLiteral("Enable Password Protection"));
    SS_password = place(new QLineEdit(Password), 2160, 360, 2055, 285);
    SS_Confirm = place(new QLineEdit(Password), 2160, 720, 2055, 285);
    for (QLineEdit* box : {SS_password, SS_Confirm}) box->setEchoMode(QLineEdit::Password);
    label(Password, QStringLiteral("Password"), 1320, 360, 735, 255);
    label(Password, QStringLiteral("Confirm"), 1440, 720, 615, 255);

    ClonesScroll = place(new VerticalScrollBar(21, 1, 1, this), 7920, 840, 255, 375);
    ClonesText = valueBox(this, 7560, 840, QStringLiteral("Clones of Image"));
    Speed = slider(this, 4320, 3480, 2055, 375, 1, 200, 10, 1, QStringLiteral("Image Speed"));
    EffectCbx = place(new QComboBox(this), 4320, 360, 2055, 315, QStringLiteral("Image Effects"));
    // Listed in the order they are stored: an entry's index is its effect's number.
    for (const display::EffectInfo& effect : display::Effects()) EffectCbx->addItem(QLatin1String(effect.caption));
    EffectCbx->setCurrentIndex(-1);
    effectSpeed = slider(this, 4320, 1320, 2055, 375, 1, 21, 2, 1);
    effectSpeedLabel = label(this, QStringLiteral("caption"), 4440, 840, 1815, 255);
    MouseSensitiveSlider = slider(this, 120, 5520, 1575, 375, 1, 15, 1, 2, QStringLiteral("Mouse Sensitivity"));
    label(this, QStringLiteral("Mouse Sensitivity"), 360, 5040, 1575, 255);

    ProgressBar1 = place(new QProgressBar(this), 120, 5955, 3975, 195);
    ProgressBar1->setTextVisible(false);
    label(this, QStringLiteral("High"), 1320, 5280, 735, 255);
    label(this, QStringLiteral("Low"), 240, 5280, 735, 255);
    backColorClick = place(new QPushButton(QStringLiteral("&Choose color..."), this), 2640, 5450, 1455, 375,
                           QStringLiteral("Background Color"));
    BackColorPicture = place(new PictureView(this), 2040, 5450, 495, 375, QStringLiteral("Background Color Display"));
    BackColorPicture->setFont(designFont(QStringLiteral("Times New Roman"), QFont::Serif, 9));
    label(this, QStringLiteral("Background Color"), 2520, 5040, 1575, 255);
    clonesLabel = label(this, QStringLiteral("Clones of Image"), 7200, 480, 1455, 255);
    SpeedLabel = label(this, QStringLiteral("Image Speed"), 4440, 3050, 1815, 255, true);
    label(this, QStringLiteral("Slow"), 4440, 3240, 735, 255);
    label(this, QStringLiteral("Fast"), 6000, 3240, 615, 255);
    IntroAmountText = valueBox(this, 7560, 2040, QStringLiteral("Amount of Images to Introduce"));
    IntroAmountScroll = place(new VerticalScrollBar(21, 1, 1, this), 7920, 2040, 255, 375);
    introAmountLabel = label(this, QStringLiteral("Amount of Image(s) to Introduce"), 7080, 1560, 1455, 495, true);
    introAmountLabel->setWordWrap(true);
    ChangeImageText = valueBox(this, 7560, 3360, QStringLiteral("Time Interval Between Images"));
    ChangeImageScroll = place(new VerticalScrollBar(60, 5, 60, this), 7920, 3360, 255, 375);
    secLabel = label(this, QStringLiteral("Sec."), 8280, 3480, 615, 255);
    changeImageLabel = label(this, QStringLiteral("Change Image(s)"), 6960, 2760, 1695, 255, true);
    changeFrequency = slider(this, 4320, 2400, 2055, 375, 0, 3, 1, 0);
    effectSpeedRight = label(this, QStringLiteral("Fast"), 5880, 1080, 615, 255);
    effectSpeedLeft = label(this, QStringLiteral("Slow"), 4440, 1080, 615, 255);
    changeFrequencyLeft = label(this, QStringLiteral("Never"), 4440, 2160, 615, 255);
    changeFrequencyRight = label(this, QStringLiteral("Often"), 5880, 2160, 615, 255);
    changeFrequencyLabel = label(this, QStringLiteral("Change Image"), 4440, 1920, 1815, 255, true);
    NeverChangeOption1 = place(new QRadioButton(QStringLiteral("Yes"), this), 7200, 3000, 735, 255,
                               QStringLiteral("Enable Change Image"));
    NeverChangeOption2 = place(new QRadioButton(QStringLiteral("No"), this), 7920, 3000, 615, 255,
                               QStringLiteral("Disable Change Image"));
    TransitionsCbx = place(new QComboBox(this), 6840, 360, 1695, 315, QStringLiteral("Transitions"));
    TransitionsCbx->addItems({QStringLiteral("Standard"), QStringLiteral("Left wipe"), QStringLiteral("Right wipe"),
                              QStringLiteral("Right & Left wipe"), QStringLiteral("Up & down wipe"),
                              QStringLiteral("Center wipe"), QStringLiteral("Horizontal blinds"),
                              QStringLiteral("Vertical blinds")});
    TransitionsCbx->setCurrentIndex(-1);
    TransitionsLabel = label(this, QStringLiteral("Transitions"), 6840, 120, 1575, 255, true);
    EffectLabel = label(this, QStringLiteral("Effects"), 4440, 120, 1695, 255, true);
    RndTranCheck = place(new QCheckBox(QStringLiteral("Random Transitions"), this), 6840, 1080, 1815, 195,
                         QStringLiteral("Display Transitions at Random"));
    CenterCheck = place(new QCheckBox(QStringLiteral("Do not Float"), this), 4440, 2640, 1575, 255,
                        QStringLiteral("Do Not Float Image"));
    // Every effect honours it, so it sits apart from the effect's own controls.
    ShuffleCheck = place(new QCheckBox(QStringLiteral("Shuffle pictures"), this), 4320, 5400, 1695, 255,
                         QStringLiteral("Show the pictures in a random order"));
    FitCheck = place(new QCheckBox(QStringLiteral("Shrink to fit screen"), this), 6840, 1380, 1815, 255,
                     QStringLiteral("Shrink large pictures to fit the screen"));

    for (PictureView* view : {thumbnail, BackColorPicture}) {
        view->setFocusPolicy(Qt::NoFocus);
        view->fitBox();
    }
    buildStatusBar();
    setTabOrder_();
}

void Form2::buildStatusBar() {
    SS_StatusBar = place(new QStatusBar(this), 0, 6180, 8820, 255);
    SS_StatusBar->setSizeGripEnabled(false);
    const QString texts[2] = {QStringLiteral("Glidorama screen saver settings"),
                              QStringLiteral("Glidorama " GLIDORAMA_VERSION)};
    const int stretch[3] = {3, 1, 1};
    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(i < 2 ? texts[i] : QString(), SS_StatusBar);
        statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        SS_StatusBar->addWidget(statusPanels[i], stretch[i]);
    }
    statusPanels[2]->setAlignment(Qt::AlignCenter);
    clockTimer_ = new QTimer(this);
    connect(clockTimer_, &QTimer::timeout, this, &Form2::updateClock);
    clockTimer_->start(1000);
    updateClock();
}

void Form2::updateClock() {
    const double seconds = env_.clock ? env_.clock->Timer() : QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(seconds * 1000) % (24 * 3600 * 1000));
    statusPanels[2]->setText(time.toString(QStringLiteral("h:mm AP")));
}

void Form2::setTabOrder_() {
    // Ascending tab index; labels, frames and picture boxes take no focus.
    // clang-format off
    QWidget* order[] = {Cancel, Ok, pictureCount, pictureList, add, addFolder, remove, RemoveAll, Password_enabled, SS_password, SS_Confirm,
                        ClonesScroll, ClonesText, Speed, EffectCbx, effectSpeed, MouseSensitiveSlider, backColorClick,
                        IntroAmountText, IntroAmountScroll, ChangeImageText, ChangeImageScroll, changeFrequency,
                        NeverChangeOption1, NeverChangeOption2, TransitionsCbx, RndTranCheck, CenterCheck,
                        FitCheck, ShuffleCheck};
    // clang-format on
    for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
    for (QSlider* s : {Speed, effectSpeed, MouseSensitiveSlider, changeFrequency}) s->setFocusPolicy(Qt::StrongFocus);
    Cancel->setFocus();
}

int64_t Form2::BackColor(const QWidget* control) {
    const QVariant v = control->property("BackColor");
    return v.isValid() ? v.toLongLong() : platform::SystemColorValue(platform::kWindowBackground);
}

void Form2::switchControl(QWidget* control, bool on) {
    const int64_t color = platform::SystemColorValue(on ? platform::kWindowBackground : platform::kThreeDLight);
    control->setEnabled(on);
    control->setProperty("BackColor", qint64(color));
    QPalette palette = control->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, platform::FromWindowsColor(color));
        palette.setColor(group, QPalette::Button, platform::FromWindowsColor(color));
    }
    control->setPalette(palette);
}

}  // namespace dialog
