// The dialog's controls: kinds, captions, tips, designed values, lists,
// fonts, tab order, and their arrangement. Qt's layouts place them by the
// size their text needs, so nothing is cut at any font size or screen
// scale; the design's sizes (in pixels of a 96 dpi screen) are their least.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "dialog/form2.h"
#include "dialog/picture_gathering.h"
#include "dialog/picture_list.h"
#include "dialog/picture_view.h"
#include "dialog/vertical_scroll_bar.h"
#include "display/effect_table.h"
#include "runtime/colors.h"
#include "settings/effect.h"

namespace dialog {

namespace {

template <typename W>
W* tipped(W* widget, const QString& tip) {
    widget->setToolTip(tip);
    return widget;
}

QLabel* label(const QString& caption, bool centred = false) {
    auto* l = new QLabel(caption);
    if (centred) l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return l;
}

QSlider* slider(int minimum, int maximum, int tick, int value, const QString& tip = QString()) {
    auto* s = new QSlider(Qt::Horizontal);
    if (!tip.isEmpty()) s->setToolTip(tip);
    s->setRange(minimum, maximum);
    s->setTickInterval(tick);
    s->setTickPosition(QSlider::TicksBelow);
    s->setSingleStep(1);
    s->setPageStep(tick);
    s->setValue(value);
    return s;
}

// A row of widgets and layouts; a null entry is a stretch.
struct RowPart {
    RowPart(QWidget* w) : widget(w) {}
    RowPart(QLayout* l) : layout(l) {}
    RowPart(std::nullptr_t) {}
    QWidget* widget = nullptr;
    QLayout* layout = nullptr;
};
QHBoxLayout* row(std::initializer_list<RowPart> parts, int spacing = -1) {
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    if (spacing >= 0) layout->setSpacing(spacing);
    for (const RowPart& part : parts) {
        if (part.widget)
            layout->addWidget(part.widget);
        else if (part.layout)
            layout->addLayout(part.layout);
        else
            layout->addStretch();
    }
    return layout;
}

// Controls that the chosen effect shows or hides keep their room when
// hidden, so the others stay in place as the effect changes.
void keepPlaceWhenHidden(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
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

// A small centred number box, as wide as `widest` needs.
QLineEdit* valueBox(const QString& tip, const QString& widest, int least, const QFont& font) {
    auto* box = new QLineEdit;
    if (!tip.isEmpty()) box->setToolTip(tip);
    box->setAlignment(Qt::AlignCenter);
    box->setFont(font);
    // The frame and the text margins on each side.
    const int margins = 2 * (box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 3);
    box->setFixedWidth(std::max(least, box->fontMetrics().horizontalAdvance(widest) + margins));
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
    // The system's dialog font of the design's era; the closest sans serif here.
    setFont(designFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 8));
    setSizeGripEnabled(false);
    // A design size in twips, in pixels of this screen: where the desktop
    // asks for larger text and Qt does not scale (a high font resolution with
    // scaling off), the boxes grow with the text.
    const double scale = std::max(1.0, logicalDpiY() / 96.0);
    auto px = [scale](int twips) { return int(std::lround(twips * scale / platform::kTwipsPerPixel)); };
    const QFont valueFont = designFont(QStringLiteral("MS Sans Serif"), QFont::SansSerif, 9.75);
    const QFont pictureBoxFont = designFont(QStringLiteral("Times New Roman"), QFont::Serif, 9);

    Cancel = new QPushButton(QStringLiteral("&Cancel"));
    Ok = new QPushButton(QStringLiteral("&OK"));
    for (QPushButton* button : {Cancel, Ok}) button->setMinimumWidth(px(1215));

    // The picture list and its preview.
    photoDisplay = new QGroupBox(QStringLiteral("Image "));
    pictureCount = tipped(new QLineEdit, QStringLiteral("Image amount"));
    pictureCount->setFixedWidth(
        std::max(px(375), pictureCount->fontMetrics().horizontalAdvance(QStringLiteral("00000"))));
    pictureList = tipped(new PictureList, QStringLiteral("Loaded Image(s)"));
    add = tipped(new QPushButton(QStringLiteral("&Add")), QStringLiteral("Load An Image"));
    remove = tipped(new QPushButton(QStringLiteral("&Remove")), QStringLiteral("Remove An Image"));
    RemoveAll = tipped(new QPushButton(QStringLiteral("R&emove All")), QStringLiteral("Remove All Images"));
    // Between the list's caption and its count: a whole folder at once.
    addFolder = tipped(new QPushButton(QStringLiteral("Add &Folder...")),
                       QStringLiteral("Add every picture in a folder and its subfolders"));
    thumbnail = tipped(new PictureView, QStringLiteral("Thumbnail Preview"));
    thumbnail->setFont(pictureBoxFont);
    // The preview is worked out in the design's pixels and drawn to fill the box.
    thumbnail->setFixedSize(px(3375), px(1815));
    thumbnail->setBoxSize(QSize(3375, 1815) / platform::kTwipsPerPixel);
    auto* photoLayout = new QVBoxLayout(photoDisplay);
    photoLayout->addWidget(thumbnail, 0, Qt::AlignHCenter);
    photoLayout->addLayout(row(
        {label(QStringLiteral("Loaded Image(s)")), addFolder, nullptr, label(QStringLiteral("Total")), pictureCount}));
    photoLayout->addWidget(pictureList, 1);
    photoLayout->addLayout(row({add, remove, RemoveAll}));

    // Mouse sensitivity and the background colour, under the pictures.
    MouseSensitiveSlider = slider(1, 15, 1, 2, QStringLiteral("Mouse Sensitivity"));
    MouseSensitiveSlider->setMinimumWidth(px(1575));
    backColorClick = tipped(new QPushButton(QStringLiteral("&Choose color...")), QStringLiteral("Background Color"));
    BackColorPicture = tipped(new PictureView, QStringLiteral("Background Color Display"));
    BackColorPicture->setFont(pictureBoxFont);
    BackColorPicture->setFixedSize(px(495), px(375));
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(px(195));
    keepPlaceWhenHidden({ProgressBar1});
    auto* underPictures = new QGridLayout;
    underPictures->addWidget(label(QStringLiteral("Mouse Sensitivity"), true), 0, 0);
    underPictures->addLayout(row({label(QStringLiteral("Low")), nullptr, label(QStringLiteral("High"))}), 1, 0);
    underPictures->addWidget(MouseSensitiveSlider, 2, 0);
    underPictures->addWidget(label(QStringLiteral("Background Color"), true), 0, 1);
    underPictures->addLayout(row({BackColorPicture, backColorClick}), 1, 1, 2, 1, Qt::AlignBottom);
    // The room a growing dialog gives goes to the picture list, not these.
    underPictures->setColumnStretch(2, 1);
    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(photoDisplay, 1);
    leftColumn->addLayout(underPictures);
    leftColumn->addWidget(ProgressBar1);

    // The effect and its speeds.
    EffectCbx = tipped(new QComboBox, QStringLiteral("Image Effects"));
    // Listed in the order they are stored: an entry's index is its effect's number.
    for (const display::EffectInfo& effect : display::Effects()) EffectCbx->addItem(QLatin1String(effect.caption));
    EffectCbx->setCurrentIndex(-1);
    EffectLabel = label(QStringLiteral("Effects"), true);
    effectSpeed = slider(1, 21, 2, 1);
    effectSpeedLabel = label(QStringLiteral("caption"));
    effectSpeedLeft = label(QStringLiteral("Slow"));
    effectSpeedRight = label(QStringLiteral("Fast"));
    changeFrequency = slider(0, 3, 1, 0);
    changeFrequencyLabel = label(QStringLiteral("Change Image"), true);
    changeFrequencyLeft = label(QStringLiteral("Never"));
    changeFrequencyRight = label(QStringLiteral("Often"));
    CenterCheck = tipped(new QCheckBox(QStringLiteral("Do not Float")), QStringLiteral("Do Not Float Image"));
    Speed = slider(1, 200, 10, 1, QStringLiteral("Image Speed"));
    SpeedLabel = label(QStringLiteral("Image Speed"), true);
    auto* effectColumn = new QGridLayout;
    effectColumn->setVerticalSpacing(2);
    effectColumn->setColumnMinimumWidth(0, px(2055));
    int r = 0;
    effectColumn->addWidget(EffectLabel, r++, 0);
    effectColumn->addWidget(EffectCbx, r++, 0);
    effectColumn->addItem(new QSpacerItem(0, px(120)), r++, 0);
    effectColumn->addWidget(effectSpeedLabel, r++, 0);
    effectColumn->addLayout(row({effectSpeedLeft, nullptr, effectSpeedRight}), r++, 0);
    effectColumn->addWidget(effectSpeed, r++, 0);
    effectColumn->addWidget(changeFrequencyLabel, r++, 0);
    effectColumn->addLayout(row({changeFrequencyLeft, nullptr, changeFrequencyRight}), r++, 0);
    // Only Float has the check box, and Float has no change frequency: they share a place.
    effectColumn->addWidget(changeFrequency, r, 0);
    effectColumn->addWidget(CenterCheck, r++, 0);
    effectColumn->addWidget(SpeedLabel, r++, 0);
    effectColumn->addLayout(row({label(QStringLiteral("Slow")), nullptr, label(QStringLiteral("Fast"))}), r++, 0);
    effectColumn->addWidget(Speed, r++, 0);
    effectColumn->setRowStretch(r, 1);
    keepPlaceWhenHidden({effectSpeed, effectSpeedLabel, effectSpeedLeft, effectSpeedRight, changeFrequency,
                         changeFrequencyLabel, changeFrequencyLeft, changeFrequencyRight, CenterCheck});

    // Float's transitions, or the clone effects' counts; the picture changes.
    TransitionsCbx = tipped(new QComboBox, QStringLiteral("Transitions"));
    TransitionsCbx->addItems({QStringLiteral("Standard"), QStringLiteral("Left wipe"), QStringLiteral("Right wipe"),
                              QStringLiteral("Right & Left wipe"), QStringLiteral("Up & down wipe"),
                              QStringLiteral("Center wipe"), QStringLiteral("Horizontal blinds"),
                              QStringLiteral("Vertical blinds")});
    TransitionsCbx->setCurrentIndex(-1);
    TransitionsLabel = label(QStringLiteral("Transitions"), true);
    RndTranCheck =
        tipped(new QCheckBox(QStringLiteral("Random Transitions")), QStringLiteral("Display Transitions at Random"));
    FitCheck = tipped(new QCheckBox(QStringLiteral("Shrink to fit screen")),
                      QStringLiteral("Shrink large pictures to fit the screen"));
    ClonesScroll = new VerticalScrollBar(21, 1, 1);
    ClonesText = valueBox(QStringLiteral("Clones of Image"), QStringLiteral("00"), px(375), valueFont);
    clonesLabel = label(QStringLiteral("Clones of Image"), true);
    IntroAmountText =
        valueBox(QStringLiteral("Amount of Images to Introduce"), QStringLiteral("00"), px(375), valueFont);
    IntroAmountScroll = new VerticalScrollBar(21, 1, 1);
    introAmountLabel = label(QStringLiteral("Amount of Image(s) to Introduce"), true);
    introAmountLabel->setWordWrap(true);
    ChangeImageText =
        valueBox(QStringLiteral("Time Interval Between Images"), QStringLiteral("00"), px(375), valueFont);
    ChangeImageScroll = new VerticalScrollBar(60, 5, 60);
    secLabel = label(QStringLiteral("Sec."));
    changeImageLabel = label(QStringLiteral("Change Image(s)"), true);
    NeverChangeOption1 = tipped(new QRadioButton(QStringLiteral("Yes")), QStringLiteral("Enable Change Image"));
    NeverChangeOption2 = tipped(new QRadioButton(QStringLiteral("No")), QStringLiteral("Disable Change Image"));
    // Each number box with its scroll bar beside it, as tall as the box.
    auto spin = [](QLineEdit* box, VerticalScrollBar* bar) {
        box->setFixedHeight(std::max(box->sizeHint().height(), box->width()));
        bar->setFixedHeight(box->height());
        return row({box, bar}, 0);
    };
    auto* optionColumn = new QGridLayout;
    optionColumn->setVerticalSpacing(2);
    optionColumn->setColumnMinimumWidth(0, px(1815));
    r = 0;
    // Float shows the first of each pair of places, the clone effects the second.
    optionColumn->addWidget(TransitionsLabel, r, 0);
    optionColumn->addWidget(clonesLabel, r++, 0);
    optionColumn->addWidget(TransitionsCbx, r, 0);
    optionColumn->addLayout(row({nullptr, spin(ClonesText, ClonesScroll), nullptr}), r++, 0);
    optionColumn->addWidget(RndTranCheck, r, 0);
    optionColumn->addWidget(introAmountLabel, r++, 0, 2, 1);
    optionColumn->addWidget(FitCheck, r++, 0);
    optionColumn->addLayout(row({nullptr, spin(IntroAmountText, IntroAmountScroll), nullptr}), r++, 0);
    optionColumn->addItem(new QSpacerItem(0, px(240)), r++, 0);
    optionColumn->addWidget(changeImageLabel, r++, 0);
    optionColumn->addLayout(row({nullptr, NeverChangeOption1, NeverChangeOption2, nullptr}), r++, 0);
    optionColumn->addLayout(row({nullptr, spin(ChangeImageText, ChangeImageScroll), secLabel, nullptr}), r++, 0);
    optionColumn->setRowStretch(r, 1);
    keepPlaceWhenHidden({TransitionsLabel, clonesLabel, TransitionsCbx, ClonesText, ClonesScroll, RndTranCheck,
                         introAmountLabel, FitCheck, IntroAmountText, IntroAmountScroll, changeImageLabel,
                         NeverChangeOption1, NeverChangeOption2, ChangeImageText, ChangeImageScroll, secLabel});

    // Password protection.
    Password = new QGroupBox(QStringLiteral("Password Protection / Message Board"));
    Password_enabled = tipped(new QCheckBox(QStringLiteral("Enabled")), QStringLiteral("Enable Password Protection"));
    SS_password = new QLineEdit;
    SS_Confirm = new QLineEdit;
    for (QLineEdit* box : {SS_password, SS_Confirm}) {
        box->setEchoMode(QLineEdit::Password);
        box->setMinimumWidth(px(2055));
    }
    auto* passwordLayout = new QGridLayout(Password);
    passwordLayout->addWidget(Password_enabled, 0, 0, 2, 1);
    passwordLayout->addWidget(label(QStringLiteral("Password")), 0, 1, Qt::AlignRight);
    passwordLayout->addWidget(SS_password, 0, 2);
    passwordLayout->addWidget(label(QStringLiteral("Confirm")), 1, 1, Qt::AlignRight);
    passwordLayout->addWidget(SS_Confirm, 1, 2);
    passwordLayout->setColumnStretch(2, 1);

    // Every effect honours these, so they sit apart from the effect's own controls.
    ShuffleCheck = tipped(new QCheckBox(QStringLiteral("Shuffle pictures")),
                          QStringLiteral("Show the pictures in a random order"));
    PictureSizeCbx = tipped(new QComboBox, QStringLiteral("How large the pictures are drawn"));
    PictureSizeCbx->addItems(
        {QStringLiteral("Automatic"), QStringLiteral("100 %"), QStringLiteral("150 %"), QStringLiteral("200 %")});
    PictureSizeCbx->setCurrentIndex(-1);
    auto* pictureSizeLabel = label(QStringLiteral("Picture size"));
    pictureSizeLabel->setBuddy(PictureSizeCbx);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addLayout(row({effectColumn, optionColumn}));
    rightColumn->addWidget(Password);
    rightColumn->addLayout(row({ShuffleCheck, nullptr, pictureSizeLabel, PictureSizeCbx}));
    rightColumn->addLayout(row({nullptr, Ok, Cancel}));

    auto* body = new QHBoxLayout;
    body->setContentsMargins(px(120), px(120), px(120), px(60));
    body->addLayout(leftColumn, 1);
    body->addLayout(rightColumn);
    auto* dialogLayout = new QVBoxLayout(this);
    dialogLayout->setContentsMargins(0, 0, 0, 0);
    dialogLayout->setSpacing(0);
    dialogLayout->addLayout(body, 1);
    buildStatusBar();
    dialogLayout->addWidget(SS_StatusBar);

    for (PictureView* view : {thumbnail, BackColorPicture}) {
        view->setFocusPolicy(Qt::NoFocus);
        view->fitBox();
    }
    setTabOrder_();
    resize(sizeHint());
}

void Form2::buildStatusBar() {
    SS_StatusBar = new QStatusBar;
    // The dialog is resized by its edges and by the grip at the status bar's end.
    SS_StatusBar->setSizeGripEnabled(true);
    const QString texts[2] = {QStringLiteral("Glidorama screen saver settings"),
                              QStringLiteral("Glidorama " GLIDORAMA_VERSION)};
    const int stretch[3] = {3, 1, 1};
    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(i < 2 ? texts[i] : QString());
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
                        FitCheck, ShuffleCheck, PictureSizeCbx};
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
