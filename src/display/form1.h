// Form1: the full-screen display, a window that only shows frames. It makes
// the chosen effect's animation when it loads, ticks it on one timer at the
// times the animation asks for, presents the parts that changed and passes
// input on to its host. A failure of the animation goes to the host, which
// decides what becomes of it.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "display/animation.h"
#include "display/display_host.h"
#include "display/pointer_moves.h"
#include "platform/environment.h"
#include "platform/x11_frame_output.h"
#include "runtime/picture_box.h"
#include "runtime/vb.h"
#include "settings/settings.h"
#include "settings/values.h"

namespace display {

class Form1 : public QWidget {
    Q_OBJECT
public:
    // `area` is the rectangle the display covers, in the desktop's pixels:
    // one monitor of "/s", or a host's window. An empty one means the
    // primary screen. The effects work in a logical size, the monitor's
    // device pixels over its picture scale (see imagestore/picture_scale.h),
    // and draw at device pixels: every monitor shows the same composition.
    // `values` are the run's settings, shared by every display of the run:
    // they must outlive the display.
    Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QRect area = QRect());
    // The display for tests and benchmarks: `size` pixels at the desktop's origin.
    Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QSize size)
        : Form1(values, env, host, QRect(QPoint(0, 0), size)) {}
    ~Form1() override;

    // Starts the effect; runs once, before the first show.
    void Form_Load();

    // The display's size in its scale units: pixels, or twips for an effect
    // that measures in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;
    platform::ScaleMode ScaleMode() const;
    int64_t BackColor() const { return backColorValue_; }
    // How many times the form has been painted (to check presenting is coalesced).
    int paintCount() const { return paintCount_; }
    // The effect's logical size, and device pixels to one of its pixels.
    QSize effectSize() const { return effectSize_; }
    double pictureScale() const { return pictureScale_; }

    // The running effect; null before the load, for no effect, and after a
    // failure to start one.
    Animation* animation() const { return animation_.get(); }
    // Advances the effect to `now` on the display's clock and presents what
    // changed (the tick timer calls it; tests call it with fake times).
    void advanceTo(Animation::Millis now);
    // Presents what the effect changed since it was last asked.
    void presentChanges();
    // Stops the ticks: the display stands still as it is.
    void stopTimers();
    bool standingStill() const { return standingStill_; }
    // The display failed: asks the host what becomes of it, and stands still
    // unless told to go on.
    FailureOutcome fail(const QString& message);

    // Input handlers. Coordinates are in the receiving object's scale units.
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_KeyDown(int keyCode, int shift);
    void Form_MouseMove(int button, int shift, float x, float y);
    void FirstPicture_MouseMove(int button, int shift, float x, float y);

    // Whether frames go to the window straight from the animation's own
    // frame, without Qt's copy of the window.
    bool showsFrameDirectly() const { return frameOutput_ != nullptr; }

protected:
    // None while frames go straight to the window: Qt then paints nothing.
    QPaintEngine* paintEngine() const override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The tick timer: advances the effect to the clock's time.
    void Tick_Timer();
    void schedule(Animation::Millis due);
    // The display's clock: the environment's steady one, in milliseconds.
    Animation::Millis clockNow() const;
    // The window's pixels per effect pixel, on each side: 1 unless the
    // effect is shown larger (a picture scale above the desktop's) or
    // shrunk (a host's small window).
    QPointF windowPerEffect() const;
    bool scaled() const { return windowPerEffect() != QPointF(1, 1); }
    // An effect rectangle in the window's pixels, and back, rounded outwards.
    QRect toWindow(const QRect& r) const;
    QRect toEffect(const QRect& r) const;
    // Shows the frame from the animation's own image when the window can
    // (an X window whose device pixels are the frame's).
    void showFrameDirectly();
    // Sends an effect rectangle of the animation's frame to the window.
    void putFrame(const QImage& frame, const QRect& r);

    const settings::Values& values_;
    platform::Environment& env_;
    DisplayHost& host_;
    QSize screenSize_;
    QSize effectSize_;
    double pictureScale_ = 1;
    // Made before the animation whose frame lives in its memory, and so
    // destroyed after it.
    std::unique_ptr<platform::X11FrameOutput> frameOutput_;
    std::unique_ptr<Animation> animation_;
    QTimer tick_;
    bool standingStill_ = false;

    // The scale: pixels, or the effect's own units once it runs.
    double unitsPerPixel_ = platform::kTwipsPerPixel;
    int64_t backColorValue_ = 0;
    QColor backColor_{Qt::black};
    // The area asked to be painted since the last paint, kept one rectangle.
    QRect pendingPaintRect_;
    int paintCount_ = 0;

    PointerMoves pointerMoves_{host_};
};

}  // namespace display
