// Form1: the full-screen display. It holds the window, the five timers that
// drive every effect, the back buffer and the input; the seven clone effects
// live in its CloneField, which its timers tick, and for "Float" it shows
// FirstPicture over the background and ticks FloatShow when it is due.
#pragma once

#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

#include "display/back_buffer.h"
#include "display/clone_field.h"
#include "display/display_host.h"
#include "display/float_host.h"
#include "display/picture_set.h"
#include "display/shuffled_order.h"
#include "platform/environment.h"
#include "platform/form_timer.h"
#include "platform/picture_box.h"
#include "platform/vb.h"
#include "settings/effect.h"
#include "settings/settings.h"
#include "settings/values.h"

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
    // `values` are the run's settings, shared by every display of the run:
    // they must outlive the display.
    Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QRect area = QRect());
    // The display for tests and benchmarks: `size` pixels at the desktop's origin.
    Form1(const settings::Values& values, platform::Environment& env, DisplayHost& host, QSize size)
        : Form1(values, env, host, QRect(QPoint(0, 0), size)) {}
    ~Form1() override;

    // Prepares the display from the settings; runs once, before the first show.
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

    // The clone tick while the first picture set is on show, and while the second is.
    platform::FormTimer& firstSetTick() { return firstSetTick_; }
    platform::FormTimer& secondSetTick() { return secondSetTick_; }
    // Loads the next cached picture into the set that has gone off show.
    platform::FormTimer& nextPictureLoader() { return nextPictureLoader_; }

    platform::PictureBox& FirstDisplayPicture(int stage) { return clones_.firstSet[size_t(stage - 1)]; }
    platform::PictureBox& SecDisplayPicture(int stage) { return clones_.secondSet[size_t(stage - 1)]; }
    // The clones of the clone effects and the picture sets they show.
    CloneField& clones() { return clones_; }

    // The change scheduler: admits clones to the next picture.
    platform::FormTimer& changeScheduler() { return changeScheduler_; }
    // The "Float" show, with its own scheduler and motion; null for the other effects.
    FloatShow* floatShow() { return floatShow_.get(); }

    // FloatHost
    platform::PictureBox& FirstPicture() override { return firstPicture_; }
    platform::PictureBox& SecondPicture() override { return secondPicture_; }
    double ScreenWidth() const override { return screenSize_.width() * double(platform::kTwipsPerPixel); }
    double ScreenHeight() const override { return screenSize_.height() * double(platform::kTwipsPerPixel); }
    void presentPictures() override;
    void failAndEnd(const QString& message) override;
    bool passesOverFailures() const override { return host_.embedded(); }

    // Stops every timer: the display stands still as it is.
    void stopTimers();

    // Timer ticks.
    // The first-set tick: every clone moves and is drawn, the first set on show.
    void Timer1_Timer();
    // The change scheduler's tick: clone admissions.
    void Timer2_Timer();
    // The next-picture loader's tick: fills the set off show and swaps the clone ticks.
    void Timer4_Timer();
    // The second-set tick: every clone moves and is drawn, the second set on show.
    void Timer5_Timer();
    // The cached picture shown at step `cacheNumber` of the round.
    QString cachedPictureNumber() const;

    // Input handlers. Coordinates are in the receiving object's scale units.
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_KeyDown(int keyCode, int shift);
    void Form_MouseMove(int button, int shift, float x, float y);
    void FirstPicture_MouseMove(int button, int shift, float x, float y);

    // Picture-change state: the step of the round whose picture loaded last.
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
    // The clone tick shared by the two set ticks, then the frame shown.
    void cloneTick(bool secondSetOnShow);
    // Float's tick: whatever of the show is due, then a wait for what comes next.
    void floatTick();
    void setUpEffect();
    bool keyLockWanted() const;
    void unload();
    QRect floatPictureRect() const;
    // Whether the Float picture on screen, unchanged, has only moved a
    // little since it was last shown.
    bool onlyMoved(const QRect& now, qint64 nowKey) const;
    // The window is smaller than the display's own size and shows it shrunk.
    bool shrunk() const;
    bool floatMode() const { return effect_ == settings::Effect::Float; }
    void moveFilter(vb::Integer& lastX, vb::Integer& lastY, float x, float y);

    const settings::Values& values_;
    // The values as the text the clone field still converts at
    // each use (the clone count as the last clone's index).
    settings::Settings settings_;
    platform::Environment& env_;
    DisplayHost& host_;
    QSize screenSize_;
    // The effect of this run, read once by Form_Load.
    settings::Effect effect_;

    BackBuffer buffer_;
    CloneField clones_;
    platform::ScaleMode scaleMode_ = platform::ScaleMode::Twips;
    bool autoRedraw_ = false;
    int64_t backColorValue_ = 0;
    QRect shownPictureRect_;
    // The area asked to be painted for the Float picture since the last paint.
    QRect pendingPaintRect_;
    // The cache key of the Float picture's pixels when last shown.
    qint64 shownPictureKey_ = 0;
    int paintCount_ = 0;

    platform::PictureBox firstPicture_;
    platform::PictureBox secondPicture_;

    // The four timers that drive the clone effects (see their accessors).
    platform::FormTimer firstSetTick_;
    platform::FormTimer changeScheduler_;
    platform::FormTimer nextPictureLoader_;
    platform::FormTimer secondSetTick_;
    // Wakes Float's show when its next step is due.
    QTimer floatWake_;

    std::unique_ptr<FloatShow> floatShow_;

    // Last positions seen by each move handler.
    vb::Integer formLastMoveX_ = 0, formLastMoveY_ = 0;
    vb::Integer pictureLastMoveX_ = 0, pictureLastMoveY_ = 0;
};

}  // namespace display
