#include "display/form1.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/effect_table.h"
#include "runtime/colors.h"
#include "runtime/picture_box.h"

namespace display {

namespace {
QRect primaryScreenArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

// The desktop's device pixels per pixel where `area` is.
qreal DevicePixelRatioAt(const QRect& area) {
    QScreen* screen = QGuiApplication::screenAt(area.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1;
}

QRect Scaled(const QRect& r, qreal x, qreal y) {
    return QRectF(r.x() * x, r.y() * y, r.width() * x, r.height() * y).toAlignedRect();
}
}  // namespace

Form1::Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QRect area)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
      values_(values),
      env_(env),
      host_(host),
      screenSize_(area.isEmpty() ? primaryScreenArea().size() : area.size()) {
    const QSizeF device = QSizeF(screenSize_) * DevicePixelRatioAt(area.isEmpty() ? primaryScreenArea() : area);
    const EffectLayout layout = LayOut(device.toSize(), values.pictureScalePercent);
    effectSize_ = layout.size;
    pictureScale_ = layout.scale;
    setWindowTitle(QStringLiteral("Glidorama"));
    // Every pixel is painted by the effect or the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
    setGeometry(area.isEmpty() ? primaryScreenArea() : area);
    tick_.setSingleShot(true);
    tick_.setTimerType(Qt::PreciseTimer);
    connect(&tick_, &QTimer::timeout, this, [this] { Tick_Timer(); });
}

Form1::~Form1() = default;

double Form1::ScaleWidth() const { return screenSize_.width() * unitsPerPixel_; }
double Form1::ScaleHeight() const { return screenSize_.height() * unitsPerPixel_; }
platform::ScaleMode Form1::ScaleMode() const {
    return unitsPerPixel_ == 1 ? platform::ScaleMode::Pixels : platform::ScaleMode::Twips;
}

void Form1::Form_Load() {
    backColorValue_ = values_.backgroundColor;
    backColor_ = platform::FromWindowsColor(backColorValue_);
    unitsPerPixel_ = 1;
    update();

    const EffectInfo* effect = FindEffect(values_.effect);
    // A mode that names no effect starts nothing: only the background shows.
    if (!effect) return;
    AnimationStart start{effectSize_, effect->kind, values_, env_, pictureScale_};
    try {
        animation_ = effect->make(start);
    } catch (const Failure& failure) {
        fail(failure.message);
        return;
    }
    unitsPerPixel_ = animation_->unitsPerPixel();
    showFrameDirectly();
    advanceTo(clockNow());
}

Animation::Millis Form1::clockNow() const { return env_.clock->monotonicSeconds() * 1000; }

void Form1::Tick_Timer() { advanceTo(clockNow()); }

void Form1::advanceTo(Animation::Millis now) {
    if (!animation_ || standingStill_) return;
    Animation::Millis due = Animation::kNever;
    // The frame's memory is the window system's to read until it has shown
    // the last changes.
    if (frameOutput_) frameOutput_->waitShown();
    try {
        due = animation_->tick(now);
    } catch (const Failure& failure) {
        // The step that failed is passed over when the display goes on.
        if (fail(failure.message) != FailureOutcome::PassOver) return;
        due = now;
    }
    presentChanges();
    schedule(due);
}

void Form1::schedule(Animation::Millis due) {
    if (standingStill_ || due == Animation::kNever) return;
    // A wait longer than the timer can hold is taken in several steps.
    const double wait = std::clamp(due - clockNow(), 0.0, double(std::numeric_limits<int>::max()));
    tick_.start(int(std::lround(wait)));
}

void Form1::stopTimers() {
    standingStill_ = true;
    tick_.stop();
}

FailureOutcome Form1::fail(const QString& message) {
    const FailureOutcome outcome = host_.DisplayFailed(message);
    if (outcome != FailureOutcome::PassOver) stopTimers();
    return outcome;
}

void Form1::presentChanges() {
    if (!animation_) return;
    const Damage damage = animation_->takeDamage();
    if (damage.isEmpty()) return;
    if (frameOutput_) {
        if (!isVisible()) return;  // showing the window paints it all
        const QImage& frame = *animation_->frame();
        for (const QRect& r : damage.rects) putFrame(frame, r);
        for (const QRect& r : damage.region) putFrame(frame, r);
        if (!damage.scrollBy.isNull()) {
            putFrame(frame, damage.scrolled);
            putFrame(frame, damage.scrolled.translated(damage.scrollBy));
        }
        frameOutput_->flush();
        return;
    }
    const QPointF per = windowPerEffect();
    const QPointF scrollBy(damage.scrollBy.x() * per.x(), damage.scrollBy.y() * per.y());
    if (!damage.scrollBy.isNull() && pendingPaintRect_.isEmpty() && isVisible() && scrollBy == scrollBy.toPoint() &&
        per == per.toPoint()) {
        // The same pixels moved: the window system moves what is on screen,
        // and only the strips the move uncovers are painted.
        scroll(int(scrollBy.x()), int(scrollBy.y()), toWindow(damage.scrolled));
        return;
    }
    // Listed areas go one by one: Qt merges them once, into the area it paints.
    for (const QRect& r : damage.rects) update(toWindow(r));
    const QRegion rest = damage.scrollBy.isNull()
                             ? damage.region
                             : damage.region | damage.scrolled | damage.scrolled.translated(damage.scrollBy);
    QRegion all;
    for (const QRect& r : rest) all += toWindow(r);
    if (all.isEmpty()) return;
    if (all.rectCount() > 1) {
        update(all);
        return;
    }
    // One rectangle, grown until it is painted: the area to paint stays a
    // plain rectangle, which Qt clips and copies on its fast single-threaded
    // paths. Two overlapping rectangles make a region whose every paint goes
    // span by span through a thread pool.
    pendingPaintRect_ |= all.boundingRect();
    update(pendingPaintRect_);
}

QPointF Form1::windowPerEffect() const {
    if (effectSize_.isEmpty()) return QPointF(1, 1);
    return QPointF(double(width()) / effectSize_.width(), double(height()) / effectSize_.height());
}

QRect Form1::toWindow(const QRect& r) const {
    const QPointF per = windowPerEffect();
    return per == QPointF(1, 1) ? r : Scaled(r, per.x(), per.y());
}

QRect Form1::toEffect(const QRect& r) const {
    const QPointF per = windowPerEffect();
    return per == QPointF(1, 1) ? r : Scaled(r, 1 / per.x(), 1 / per.y()) & QRect(QPoint(0, 0), effectSize_);
}

void Form1::showFrameDirectly() {
    const QSize frameSize(int(std::lround(effectSize_.width() * pictureScale_)),
                          int(std::lround(effectSize_.height() * pictureScale_)));
    if (frameSize != (QSizeF(size()) * devicePixelRatioF()).toSize()) return;
    frameOutput_ = platform::X11FrameOutput::ForQtDisplay();
    if (!frameOutput_) return;
    platform::X11FrameOutput* output = frameOutput_.get();
    if (!animation_->keepFrameIn([output](QSize devicePixels) { return output->makeImage(devicePixels); })) {
        frameOutput_.reset();
        return;
    }
    // Qt keeps no image of the window: exposed parts come from the frame.
    setAttribute(Qt::WA_PaintOnScreen);
}

void Form1::putFrame(const QImage& frame, const QRect& r) {
    frameOutput_->put(winId(), frame, Scaled(r, pictureScale_, pictureScale_));
}

QPaintEngine* Form1::paintEngine() const { return frameOutput_ ? nullptr : QWidget::paintEngine(); }

void Form1::paintEvent(QPaintEvent* event) {
    ++paintCount_;
    pendingPaintRect_ = QRect();
    if (frameOutput_) {
        const QImage& frame = *animation_->frame();
        const qreal ratio = devicePixelRatioF();
        for (const QRect& r : event->region()) frameOutput_->put(winId(), frame, Scaled(r, ratio, ratio));
        frameOutput_->flush();
        return;
    }
    QPainter painter(this);
    QRegion region = event->region();
    if (scaled()) {
        // The effect fills the window, drawn larger at a picture scale above
        // the desktop's, or shrunk in a host's small window.
        const QPointF per = windowPerEffect();
        painter.scale(per.x(), per.y());
        // Only shrinking needs smoothing: drawn larger, the effect's pixels
        // are already device pixels, and an exact 2x copy takes Qt's plain
        // blit only without the smoothing hint.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, per.x() < 1 || per.y() < 1);
        QRegion inEffect;
        for (const QRect& r : region) inEffect += toEffect(r);
        region = inEffect;
    }
    if (animation_) {
        animation_->paint(painter, region);
        return;
    }
    for (const QRect& r : region) painter.fillRect(r, backColor_);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // No window manager gives a bypassing window the keyboard: take it, so a
    // key press reaches the saver wherever the pointer is. A display inside a
    // host's window leaves the keyboard to the host.
    if (!host_.embedded()) activateWindow();
}

}  // namespace display
