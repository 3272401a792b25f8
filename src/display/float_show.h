// The Float effect: one user picture at a time, brought on by a transition,
// centred or drifting and bouncing over the screen.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

#include "display/float_host.h"
#include "display/float_prefetch.h"
#include "display/shuffled_order.h"
#include "display/transition_copies.h"
#include "platform/environment.h"
#include "platform/vb.h"
#include "settings/settings.h"

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

class FloatShow {
public:
    FloatShow(settings::Settings& settings, platform::Environment& env, FloatHost& host,
              std::vector<QString> imageFiles);

    // The scheduler tick for Float (`Timer2_Timer`'s Float branch).
    void Timer2Tick();
    // One motion step (`Timer3_Timer`).
    void Timer3Tick();

    // Shows imageFiles(floatImageIndex) with the chosen transition. False
    // when the picture could not be shown and the saver has been ended.
    bool ShowNextImage();
    // Copies the staged picture into the one on show, frame by frame.
    void PlayTransition();

    // Every copy a transition makes, in order, as it is made.
    void setCopyObserver(std::function<void(const TransitionCopy&)> observer) { copyObserver_ = std::move(observer); }

    int floatImageIndex() const { return floatImageIndex_; }
    int floatStepX() const { return floatStepX_; }
    int floatStepY() const { return floatStepY_; }
    void setFloatSteps(int x, int y) {
        floatStepX_ = vb::Integer::FromLong(x);
        floatStepY_ = vb::Integer::FromLong(y);
    }
    // True while a picture change is under way (events are pumped meanwhile).
    bool changing() const { return changing_; }
    const FloatPrefetch& prefetch() const { return prefetch_; }

private:
    // The display's failure path for this change's picture; true when the
    // host passes over the failure and the show goes on.
    bool passOverOrEnd(const QString& message);
    void changeStep();
    // Timer2's interval after a change: NextImageTime in milliseconds.
    int32_t changeInterval() const;
    void drawDirection();
    void prefetchNext();
    QString imagePath(int index) const;
    // The list's entry at `position`, whatever the order.
    QString entryAt(int position) const;
    void centre(platform::PictureBox& box);
    // Processes events until the monotonic clock reaches `deadline`, at least once.
    void pumpUntil(double deadline);
    void pumpOnce();
    // Prepares a picture for the boxes as they are set up now (in the worker).
    FloatPrefetch::Preparer preparer() const;
    bool animatedPath() const;
    // Whether pictures larger than the screen are shrunk to fit it.
    bool fitToScreen() const;

    settings::Settings& settings_;
    platform::Environment& env_;
    FloatHost& host_;
    std::vector<QString> imageFiles_;
    // Which entry each step of a round shows (list order unless shuffled).
    ShuffledOrder order_;

    vb::Integer floatImageIndex_ = 0;
    double floatDirection_[2] = {0, 0};
    vb::Integer floatStepX_ = 0;
    vb::Integer floatStepY_ = 0;

    FloatPrefetch prefetch_;
    std::function<void(const TransitionCopy&)> copyObserver_;
    bool changing_ = false;
    bool ended_ = false;
};

}  // namespace display
