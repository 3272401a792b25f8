#include "display/form1.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "display/float_show.h"
#include "imagestore/cache_paths.h"
#include "platform/colors.h"
#include "platform/picture.h"
#include "platform/desktop.h"

namespace display {

namespace {
QRect primaryScreenArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QString TextOf(const settings::Number& number) { return number.usable() ? vb::CStr(number.value()) : QString(); }
QString TextOf(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// The text each key converts back to the same value (an unusable speed to
// the empty text, which raises the same error).
settings::Settings TextOf(const settings::Values& v) {
    settings::Settings s;
    s.effect = vb::CStr(int32_t(v.effect.kind()));
    s.pictureCount = vb::CStr(v.pictureCount);
    s.cloneCount = vb::CStr(v.cloneCount - 1);
    s.cloneSpeed = TextOf(v.cloneSpeed);
    s.splatSpeed = TextOf(v.splatSpeed);
    s.jumpingSpeed = vb::CStr(v.jumpingSpeed);
    s.deckSpeed = TextOf(v.deckSpeed);
    s.psychedelicSpeed = TextOf(v.psychedelicSpeed);
    s.changeInterval = vb::CStr(v.changeInterval);
    s.clonesPerAdmission = vb::CStr(v.clonesPerAdmission);
    s.neverChange = vb::BoolText(v.neverChange);
    s.changeFrequency = vb::CStr(v.changeFrequency);
    s.mouseSensitivity = vb::CStr(v.mouseSensitivity);
    s.backgroundColor = vb::CStr(v.backgroundColor);
    s.shuffle = TextOf(v.shuffle);
    s.password = v.password;
    s.passwordEnabled = TextOf(v.passwordEnabled);
    return s;
}
}  // namespace

QString NotProcessedMessage(const QString& path) {
    const QString crlf = QStringLiteral("\r\n");
    return path + crlf + QStringLiteral("was not processed correctly! Glidorama will") + crlf +
           QStringLiteral("not function unless a different image is reloaded.") + crlf +
           QStringLiteral("Please go into settings and choose a different image.");
}

Form1::Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QRect area)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
      values_(values),
      settings_(TextOf(values)),
      env_(env),
      host_(host),
      screenSize_(area.isEmpty() ? primaryScreenArea().size() : area.size()),
      clones_(settings_, *env.random, buffer_),
      firstSetTick_([this] { Timer1_Timer(); }, 1, this),
      changeScheduler_([this] { Timer2_Timer(); }, 0, this),
      nextPictureLoader_([this] { Timer4_Timer(); }, 1, this),
      secondSetTick_([this] { Timer5_Timer(); }, 1, this) {
    setWindowTitle(QStringLiteral("Glidorama"));
    // Every pixel is painted from the back buffer or the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
    setGeometry(area.isEmpty() ? primaryScreenArea() : area);
    buffer_.resize(screenSize_);
    // The source boxes take the size of the picture loaded into them.
    firstPicture_.setAutoSize(true);
    secondPicture_.setAutoSize(true);
    setScaleMode(platform::ScaleMode::Twips);
    floatWake_.setSingleShot(true);
    floatWake_.setTimerType(Qt::PreciseTimer);
    connect(&floatWake_, &QTimer::timeout, this, [this] { floatTick(); });
}

Form1::~Form1() = default;

void Form1::setScaleMode(platform::ScaleMode mode) {
    scaleMode_ = mode;
    // The boxes on the form measure their size and position in its units.
    firstPicture_.setOwnerScale(mode);
    secondPicture_.setOwnerScale(mode);
    for (auto* set : {&clones_.firstSet, &clones_.secondSet})
        for (platform::PictureBox& box : *set) box.setOwnerScale(mode);
}

double Form1::ScaleWidth() const {
    return screenSize_.width() * platform::kTwipsPerPixel / platform::TwipsPerUnit(scaleMode_);
}
double Form1::ScaleHeight() const {
    return screenSize_.height() * platform::kTwipsPerPixel / platform::TwipsPerUnit(scaleMode_);
}

void Form1::setBackColor(int64_t windowsColor) {
    backColorValue_ = windowsColor;
    buffer_.setBackColor(platform::FromWindowsColor(windowsColor));
    update();
}

void Form1::Cls() { buffer_.Cls(); }

void Form1::BitBlt(int x, int y, int w, int h, const QImage& source) { buffer_.BitBlt(x, y, w, h, source); }

void Form1::Refresh() {
    // Qt merges the requested areas and paints them once at the next frame,
    // however many ticks come before it.
    const BackBuffer::Changes changes = buffer_.takeChanges();
    if (changes.all || shrunk()) {
        update();
        return;
    }
    for (const QRect& r : changes.rects) update(r);
}

QRect Form1::floatPictureRect() const {
    if (!firstPicture_.Visible()) return QRect();
    return QRect(firstPicture_.pixelPosition(), firstPicture_.Image().size());
}

void Form1::presentPictures() {
    const QRect now = floatPictureRect();
    const qint64 nowKey = now.isEmpty() ? 0 : firstPicture_.Image().cacheKey();
    if (shrunk()) {
        update();
    } else if (now == shownPictureRect_ && nowKey == shownPictureKey_) {
        // Nothing on screen changes.
    } else if (onlyMoved(now, nowKey)) {
        // The same pixels one step further: the window system moves what is
        // on screen, and only the strips the picture uncovers are painted.
        const QPoint step = now.topLeft() - shownPictureRect_.topLeft();
        scroll(step.x(), step.y(), shownPictureRect_ | now);
    } else {
        // One rectangle around where the picture was and is, grown until it
        // is painted: the area to paint stays a plain rectangle, which Qt
        // clips and copies on its fast single-threaded paths. Two
        // overlapping rectangles make a region whose every paint goes span
        // by span through a thread pool.
        pendingPaintRect_ |= shownPictureRect_ | now;
        if (!pendingPaintRect_.isEmpty()) update(pendingPaintRect_);
    }
    shownPictureRect_ = now;
    shownPictureKey_ = nowKey;
}

bool Form1::onlyMoved(const QRect& now, qint64 nowKey) const {
    // A paint still due for the picture's area would be moved as if done.
    if (!pendingPaintRect_.isEmpty() || now.isEmpty() || !isVisible()) return false;
    if (nowKey != shownPictureKey_ || now.size() != shownPictureRect_.size()) return false;
    const QPoint step = now.topLeft() - shownPictureRect_.topLeft();
    return std::abs(step.x()) < now.width() / 2 && std::abs(step.y()) < now.height() / 2;
}

bool Form1::shrunk() const { return size() != screenSize_; }

void Form1::paintEvent(QPaintEvent* event) {
    ++paintCount_;
    QPainter painter(this);
    QRegion region = event->region();
    if (shrunk()) {
        // A window smaller than the display (a host's preview) shows all of
        // it, shrunk to fit.
        painter.scale(double(width()) / screenSize_.width(), double(height()) / screenSize_.height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        region = QRect(QPoint(0, 0), screenSize_);
    }
    if (!floatMode()) {
        for (const QRect& r : region) painter.drawImage(r.topLeft(), buffer_.image(), r);
        return;
    }
    pendingPaintRect_ = QRect();
    // The background only where the picture is not, and the picture only
    // where it meets the area painted: each pixel is written once.
    const QImage& image = firstPicture_.Image();
    const QRect picture = firstPicture_.Visible() && !image.isNull() ? floatPictureRect() : QRect();
    const QColor back = buffer_.backColor();
    for (const QRect& r : region.subtracted(picture)) painter.fillRect(r, back);
    if (picture.isEmpty()) return;
    for (const QRect& r : region) {
        const QRect part = r & picture;
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), image, part.translated(-picture.topLeft()));
    }
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // No window manager gives a bypassing window the keyboard: take it, so a
    // key press reaches the saver wherever the pointer is. A display inside a
    // host's window leaves the keyboard to the host.
    if (!host_.embedded()) activateWindow();
}

bool Form1::keyLockWanted() const { return vb::CDbl(settings_.passwordEnabled) == 1 && !host_.embedded(); }

void Form1::stopTimers() {
    for (platform::FormTimer* t : {&firstSetTick_, &changeScheduler_, &nextPictureLoader_, &secondSetTick_})
        t->setEnabled(false);
    floatWake_.stop();
}

void Form1::unload() {
    stopTimers();
    hide();
}

void Form1::failAndEnd(const QString& message) {
    if (host_.embedded()) {
        host_.ReportFailure(message);
        return;
    }
    if (host_.ShowFailureLocked(message)) {
        // The display stays up, still, behind the host's message.
        stopTimers();
        return;
    }
    if (keyLockWanted()) env_.desktop->setKeyLock(false);
    unload();
    env_.messages->MsgBox(message, platform::kExclamation);
    // A picture that cannot be shown ends the run as a failure.
    env_.end->End(1);
}

void Form1::Form_Load() {
    const int64_t background = values_.backgroundColor;
    setBackColor(background);
    for (platform::PictureBox* box : {&firstPicture_, &secondPicture_}) {
        box->setBackColor(background);
        box->setBorderStyle(0);
    }

    pictureOrder = ShuffledOrder(ShuffleCount(settings_), IsShuffled(settings_), env_.random);
    effect_ = values_.effect;
    clones_.setEffect(effect_);
    // Float's pictures by position, 0 to newTotal: entries past the list stay empty.
    std::vector<QString> imageFiles;
    if (effect_ == settings::Effect::Float) {
        imageFiles.resize(size_t(vb::CLng(values_.pictureCount)) + 1);
        std::copy(values_.pictures.begin(), values_.pictures.end(), imageFiles.begin());
    }
    if (keyLockWanted()) env_.desktop->setKeyLock(true);

    // From here on a picture that cannot be loaded or used ends the run with
    // a message naming the cached file built last.
    QString cachePath;
    try {
        if (effect_ != settings::Effect::Float) {
            cacheNumber = QStringLiteral("0");
            cachePath = imagestore::CachedPicturePath(env_.dataFolder(), cachedPictureNumber());
            firstPicture_.setPicture(platform::LoadPicture(cachePath));
            setScaleMode(platform::ScaleMode::Pixels);

            clones_.placeClones();
            BuildPictureSet(firstPicture_, clones_.firstSet);

            if (vb::CDbl(settings_.pictureCount) > 1) {
                cacheNumber = QStringLiteral("1");
                cachePath = imagestore::CachedPicturePath(env_.dataFolder(), cachedPictureNumber());
                secondPicture_.setPicture(platform::LoadPicture(cachePath));
                BuildPictureSet(secondPicture_, clones_.secondSet);
                clones_.secondSetReady = 1;
            }
            for (int slot = 0; slot <= 7; ++slot) clones_.stageStep[size_t(slot)] = 0;
        }

        firstPicture_.setScaleMode(platform::ScaleMode::Pixels);
        secondPicture_.setScaleMode(platform::ScaleMode::Pixels);
        if (floatMode()) {
            setScaleMode(platform::ScaleMode::Twips);
            setAutoRedraw(false);
        } else {
            setScaleMode(platform::ScaleMode::Pixels);
            setAutoRedraw(true);
        }

        setUpEffect();
        if (floatMode()) {
            floatShow_ = std::make_unique<FloatShow>(values_, env_, *this, std::move(imageFiles));
            floatShow_->start(env_.clock->monotonicSeconds());
            floatTick();
        }
        if (effect_ == settings::Effect::Glidorama) clones_.introCount = 0;
        clones_.loadTarget = 0;
    } catch (const vb::RuntimeError&) {
        failAndEnd(NotProcessedMessage(cachePath));
    } catch (const std::bad_alloc&) {
        failAndEnd(NotProcessedMessage(cachePath));
    }
}

// The timers and profile of the chosen effect; a mode that names no effect
// starts nothing, so only the background shows.
void Form1::setUpEffect() {
    using settings::Effect;
    if (!effect_.isCloneEffect()) return;

    if (effect_.changesOnSchedule() && !vb::CBool(settings_.neverChange) && vb::CDbl(settings_.pictureCount) > 1) {
        changeScheduler_.setInterval(vb::CLng(vb::CDbl(settings_.changeInterval) * 1000));
        changeScheduler_.setEnabled(true);
    }
    firstSetTick_.setEnabled(true);
    firstSetTick_.setInterval(vb::CLng(vb::CDbl(settings_.cloneSpeed)));
    secondSetTick_.setInterval(vb::CLng(vb::CDbl(settings_.cloneSpeed)));
    if (effect_.pacesItsOwnChanges() && vb::CDbl(settings_.pictureCount) > 1 &&
        vb::CDbl(settings_.changeFrequency) != 0) {
        changeScheduler_.setInterval(5000);
        changeScheduler_.setEnabled(true);
    }
    clones_.setUpProfile();
}

void Form1::Timer1_Timer() { cloneTick(false); }
void Form1::Timer5_Timer() { cloneTick(true); }

void Form1::floatTick() {
    const double next = floatShow_->tick(env_.clock->monotonicSeconds());
    if (next == TickPace::kNever) return;
    const double wait = std::max(0.0, next - env_.clock->monotonicSeconds());
    floatWake_.start(int(std::ceil(std::min(wait * 1000, double(std::numeric_limits<int>::max())))));
}

void Form1::cloneTick(bool secondSetOnShow) {
    if (clones_.tick(secondSetOnShow)) nextPictureLoader_.setEnabled(true);
    Refresh();
}

}  // namespace display
