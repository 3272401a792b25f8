// The Float effect: one user picture at a time, brought on by a transition,
// centred or drifting and bouncing over the screen.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

#include "display/float_host.h"
#include "display/pace.h"
#include "display/float_prefetch.h"
#include "display/shuffled_order.h"
#include "display/transition_copies.h"
#include "display/transition_player.h"
#include "platform/environment.h"
#include "runtime/vb.h"
#include "settings/values.h"

namespace display {

// Where a box of `size` sits centred on a screen of `screen` (same units):
// the difference rounded to a Long, halved toward zero.
int32_t CenteredPosition(double screen, double size);

// The message that ends the saver when a picture's file is missing.
QString MissingPictureMessage(const QString& path);

// The size, in pixels, a picture larger than the screen is shrunk to fit:
// most of the screen (sizes in twips) below the band the float bounces off.
QSize FloatRoom(double screenWidth, double screenHeight);

// The Float picture, opaque over `background`, shrunk to fit `room` keeping
// its proportions when larger (decoded straight at that size), or at its
// natural size when `room` is empty. Raises the picture loading errors.
QImage LoadFloatPicture(const QString& path, QSize room, const QColor& background);
// The same picture for a display with the picture scale `scale`: `sharp` at
// up to `scale` times the size, as far as the file has the pixels, and
// `picture` at the size the show lays it out in (both the same at scale 1).
struct ScaledFloatPicture {
    QImage picture;
    QImage sharp;
};
ScaledFloatPicture LoadFloatPicture(const QString& path, QSize room, const QColor& background, double scale);

// A picture change runs as a sequence of steps, each at its own time: the
// "Standard" change hides the picture, pauses, then shows the next one; the
// animated ones take the picture prepared in the worker (waiting for it
// step by step when it is not ready) and copy it in frame by frame. The
// show keeps its scheduler and motion timers itself, and the display calls
// tick() when the earliest of them or the change's next step is due;
// nothing waits in between, so input, motion and painting go on meanwhile.
class FloatShow {
public:
    FloatShow(const settings::Values& values, platform::Environment& env, FloatHost& host,
              std::vector<QString> imageFiles);

    // Starts the show at `now` (seconds on the display's clock): the first
    // picture comes 250 ms on.
    void start(double now);
    // Runs every scheduler tick, motion step and change step due by `now`
    // (seconds on the display's clock), in the order they fall due, and
    // returns when the next is due (Pace::kNever for none).
    double tick(double now);

    // The scheduler's tick (`Timer2_Timer`): starts the next change, unless
    // one is under way or the show has ended.
    void Timer2Tick();
    // One motion step (`Timer3_Timer`).
    void Timer3Tick();
    // Takes the change's next step at `now` if it is due by then.
    void StepTick(double now);
    // When the change under way wants its next step; none while no change is
    // under way.
    std::optional<double> nextStepAt() const;

    // The timer that changes the picture, and the one that moves it a step.
    Pace& changeScheduler() { return changeScheduler_; }
    Pace& floatMotion() { return floatMotion_; }

    // Every copy a transition makes, in order, as it is made.
    void setCopyObserver(std::function<void(const TransitionCopy&)> observer) { copyObserver_ = std::move(observer); }

    int floatImageIndex() const { return floatImageIndex_; }
    int floatStepX() const { return floatStepX_; }
    int floatStepY() const { return floatStepY_; }
    void setFloatSteps(int x, int y) {
        floatStepX_ = vb::Integer::FromLong(x);
        floatStepY_ = vb::Integer::FromLong(y);
    }
    // True while a picture change is under way.
    bool changing() const { return stage_ != Stage::Idle && stage_ != Stage::Ended; }
    // The transition of the last change ("effectMode"), as a random pick left it.
    double transition() const { return transition_; }
    const FloatPrefetch& prefetch() const { return prefetch_; }
    // The picture on show at device pixels, when `shown` (a box's image) is
    // the picture the last change brought unaltered; null otherwise.
    QImage sharpPicture(const QImage& shown) const;

private:
    enum class Stage {
        Idle,
        // A scheduler tick asked for the next picture.
        Begin,
        // "Standard": the picture is hidden until the pause is over.
        Pause,
        // Waiting for the prepared picture.
        Load,
        // Copying the staged picture in, one frame a step.
        Transition,
        // The new picture is on show: the timers follow.
        Shown,
        // A failure ended the show: nothing moves or changes any more.
        Ended,
    };
    // What the end of a change does to the timers.
    enum class Then { StopScheduler, StopSchedulerAndFloat, NextPicture };

    void beginChange(Then then);
    // Takes the step due and sets when the next one is.
    void step(double now);
    void startTransition(double now);
    void transitionStep();
    void finishChange();
    // The display's failure path for this change's picture: the show goes on
    // with the next change when the host passes over it, and ends otherwise.
    void passOverOrEnd(const QString& message);
    // Timer2's interval after a change: NextImageTime in milliseconds.
    int32_t changeInterval() const;
    void drawDirection();
    void prefetchNext();
    QString imagePath(int index) const;
    // The list's entry at `position`, whatever the order.
    QString entryAt(int position) const;
    void centre(platform::PictureBox& box);
    // Prepares a picture for the boxes as they are set up now (in the worker).
    FloatPrefetch::Preparer preparer() const;
    bool animatedPath() const;
    // Whether pictures larger than the screen are shrunk to fit it.
    bool fitToScreen() const;

    const settings::Values& values_;
    platform::Environment& env_;
    FloatHost& host_;
    std::vector<QString> imageFiles_;
    // Which entry each step of a round shows (list order unless shuffled).
    ShuffledOrder order_;
    // The transition changes use; random transitions pick a new one each change.
    double transition_;

    // The time now on the display's clock, as the last tick gave it (in
    // seconds, so each pace's clock unit is 1000 ms).
    double now_;
    Pace changeScheduler_{now_, 0, 1000};
    Pace floatMotion_{now_, 100, 1000};

    vb::Integer floatImageIndex_ = 0;
    double floatDirection_[2] = {0, 0};
    vb::Integer floatStepX_ = 0;
    vb::Integer floatStepY_ = 0;

    // The change under way.
    Stage stage_ = Stage::Idle;
    Then then_ = Then::NextPicture;
    QString changePath_;
    bool animated_ = false;
    double due_ = 0;
    PreparedPicture prepared_;
    // The last change's picture at device pixels, and the key of its laid-out image.
    QImage shownSharp_;
    qint64 shownKey_ = 0;
    std::optional<TransitionPlayer> player_;
    double transitionStart_ = 0;

    FloatPrefetch prefetch_;
    std::function<void(const TransitionCopy&)> copyObserver_;
};

}  // namespace display
