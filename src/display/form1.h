// Form1: the full-screen display. It holds the two picture sets, the five
// timers that drive every effect, the clone state of the seven clone effects
// and the back buffer they draw into; for "Float" it shows FirstPicture over
// the background and hands its two timers to FloatShow.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "display/back_buffer.h"
#include "display/display_host.h"
#include "display/float_host.h"
#include "display/picture_set.h"
#include "display/shuffled_order.h"
#include "platform/environment.h"
#include "platform/form_timer.h"
#include "platform/picture_box.h"
#include "platform/vb.h"
#include "settings/settings.h"

namespace display {

class FloatShow;

// The text of the display's failure message for the picture at `path`.
QString NotProcessedMessage(const QString& path);

class Form1 : public QWidget, public FloatHost {
    Q_OBJECT
public:
    // `area` is the rectangle the display covers, in the desktop's pixels:
    // one monitor of "/s", or a host's window. An empty one means the
    // primary screen. The effects work in the display's own size, whatever
    // the monitor it is on.
    Form1(settings::Settings& settings, platform::Environment& env, DisplayHost& host, QRect area = QRect());
    // The display for tests and benchmarks: `size` pixels at the desktop's origin.
    Form1(settings::Settings& settings, platform::Environment& env, DisplayHost& host, QSize size)
        : Form1(settings, env, host, QRect(QPoint(0, 0), size)) {}
    ~Form1() override;

    // Reads the settings and prepares the display; runs once, before the first show.
    void Form_Load();

    // Form properties. Scale units are pixels, or twips for "Float".
    double ScaleWidth() const;
    double ScaleHeight() const;
    platform::ScaleMode ScaleMode() const { return scaleMode_; }
    void setScaleMode(platform::ScaleMode mode);
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    int64_t BackColor() const { return backColorValue_; }
    void setBackColor(int64_t windowsColor);
    // Clears the back buffer to the background colour.
    void Cls();
    // Shows what changed in the back buffer at the next display frame.
    void Refresh();
    // Opaque, clipped copy of a picture's top-left w x h to (x, y) of the back buffer.
    void BitBlt(int x, int y, int w, int h, const QImage& source);
    const QImage& backBuffer() const { return buffer_.image(); }
    uint64_t backBufferPixelsWritten() const { return buffer_.pixelsWritten(); }
    // How many times the form has been painted (to check presenting is coalesced).
    int paintCount() const { return paintCount_; }

    platform::FormTimer& Timer1() { return timer1_; }
    platform::FormTimer& Timer4() { return timer4_; }
    platform::FormTimer& Timer5() { return timer5_; }

    platform::PictureBox& FirstDisplayPicture(int stage) { return firstDisplay_[size_t(stage - 1)]; }
    platform::PictureBox& SecDisplayPicture(int stage) { return secDisplay_[size_t(stage - 1)]; }

    // FloatHost
    platform::PictureBox& FirstPicture() override { return firstPicture_; }
    platform::PictureBox& SecondPicture() override { return secondPicture_; }
    platform::FormTimer& Timer2() override { return timer2_; }
    platform::FormTimer& Timer3() override { return timer3_; }
    double ScreenWidth() const override { return screenSize_.width() * double(platform::kTwipsPerPixel); }
    double ScreenHeight() const override { return screenSize_.height() * double(platform::kTwipsPerPixel); }
    void presentPictures() override;
    void DoEvents() override;
    void failAndEnd(const QString& message) override;
    bool passesOverFailures() const override { return host_.embedded(); }

    // Timer ticks.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    // The cached picture shown at step `cacheNumber` of the round.
    QString cachedPictureNumber() const;
    void Timer5_Timer();

    // Stage and heading of clone `cloneIndex`.
    void ApproachClone();
    void RecedeClone();
    void AimClone(const vb::Integer& step);

    // Input handlers. Coordinates are in the receiving object's scale units.
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_KeyDown(int keyCode, int shift);
    void Form_MouseMove(int button, int shift, float x, float y);
    void FirstPicture_MouseMove(int button, int shift, float x, float y);

    // Clone state, one element per clone.
    std::vector<vb::Integer> cloneX, cloneY, cloneDX, cloneDY, cloneStage, cloneSet, vortexPhase;
    vb::Integer cloneIndex = 0;
    vb::Integer keepTrails = 0;
    std::array<vb::Integer, kStageCount> stageStep{};
    vb::Integer pacingCounter = 0;

    // Picture-change state.
    vb::Integer introCount = 0;
    vb::Integer loadTarget = 0;
    vb::Integer secondSetReady = 0;
    QString cacheNumber;
    // Which picture each step of a round shows (list order unless shuffled).
    ShuffledOrder pictureOrder{0, false, nullptr};

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The clone tick shared by Timer1 and Timer5 (`underTimer5`).
    void cloneTick(bool underTimer5);
    void handOverPacing(bool underTimer5);
    // introCount = CInt(IntroImageAmount + introCount), held within 16 bits.
    void addIntroImageAmount();
    void setUpEffect(double modeNumber);
    bool keyLockWanted() const;
    void unload();
    QRect floatPictureRect() const;
    // Whether the Float picture on screen, unchanged, has only moved a
    // little since it was last shown.
    bool onlyMoved(const QRect& now, qint64 nowKey) const;
    // The window is smaller than the display's own size and shows it shrunk.
    bool shrunk() const;
    void moveFilter(vb::Integer& lastX, vb::Integer& lastY, float x, float y);

    settings::Settings& settings_;
    platform::Environment& env_;
    DisplayHost& host_;
    QSize screenSize_;

    BackBuffer buffer_;
    platform::ScaleMode scaleMode_ = platform::ScaleMode::Twips;
    bool autoRedraw_ = false;
    int64_t backColorValue_ = 0;
    bool floatMode_ = false;
    QRect shownPictureRect_;
    // The area asked to be painted for the Float picture since the last paint.
    QRect pendingPaintRect_;
    // The cache key of the Float picture's pixels when last shown.
    qint64 shownPictureKey_ = 0;
    int paintCount_ = 0;

    platform::PictureBox firstPicture_;
    platform::PictureBox secondPicture_;
    DisplayArray firstDisplay_;
    DisplayArray secDisplay_;

    platform::FormTimer timer1_;
    platform::FormTimer timer2_;
    platform::FormTimer timer3_;
    platform::FormTimer timer4_;
    platform::FormTimer timer5_;

    std::unique_ptr<FloatShow> floatShow_;

    // Last positions seen by each move handler.
    vb::Integer formLastMoveX_ = 0, formLastMoveY_ = 0;
    vb::Integer pictureLastMoveX_ = 0, pictureLastMoveY_ = 0;
};

}  // namespace display
