#include "display/float_show.h"

#include <algorithm>
#include <new>

#include "runtime/colors.h"
#include "picture/picture.h"
#include "settings/defaults.h"

namespace display {

namespace {

// The "Standard" change leaves the screen without the picture this long.
constexpr double kStandardPauseSeconds = 0.3;
// How often a change looks again for a picture the worker is still decoding.
constexpr double kDecodeWaitSeconds = 0.001;
// Top bound of the float motion, in twips.
constexpr double kFloatTop = 615;
constexpr int kFloatStep = 15;
// The share of the screen a picture shrunk to fit takes on each side: room
// left to float in, and to click beside it.
constexpr double kRoomShare = 0.9;

// An empty box set up like `live`, to be filled in the worker.
platform::PictureBox LikeBox(const platform::PictureBox& live) {
    platform::PictureBox box(live.ownerScale());
    box.setScaleMode(live.scaleMode());
    box.setAutoSize(true);
    box.setBackColor(live.BackColor());
    box.setBorderStyle(live.BorderStyle());
    return box;
}

bool SameSetUp(const platform::PictureBox& a, const platform::PictureBox& b) {
    return a.ownerScale() == b.ownerScale() && a.scaleMode() == b.scaleMode() && a.BackColor() == b.BackColor() &&
           a.BorderStyle() == b.BorderStyle();
}

// Puts a prepared box in place of the live one, which keeps its place and
// visibility. False when the live box has been set up otherwise since.
bool Adopt(platform::PictureBox& live, std::optional<platform::PictureBox>& prepared) {
    if (!prepared || !SameSetUp(live, *prepared)) return false;
    const double left = live.Left();
    const double top = live.Top();
    const bool visible = live.Visible();
    live = std::move(*prepared);
    prepared.reset();
    live.setLeft(left);
    live.setTop(top);
    live.setVisible(visible);
    return true;
}

// The emptied box on show: 1 x 1 first, then the staged picture's size.
void SizeLike(platform::PictureBox& box, const platform::PictureBox& staged) {
    box.setWidth(1);
    box.setHeight(1);
    box.setHeight(staged.Height());
    box.setWidth(staged.Width());
}

// Everything a change does to the boxes that costs time with a big picture:
// the decode, and filling the staging box, the emptied box on show and the
// box holding the picture (the states the change steps pass through).
PreparedPicture Prepare(const QString& path, platform::PictureBox firstLike, platform::PictureBox secondLike,
                        bool animated, QSize room, double scale) {
    PreparedPicture prepared;
    ScaledFloatPicture loaded = LoadFloatPicture(path, room, platform::FromWindowsColor(firstLike.BackColor()), scale);
    prepared.picture = std::move(loaded.picture);
    prepared.sharp = std::move(loaded.sharp);
    if (!animated) {
        firstLike.setPicture(prepared.picture);
        prepared.shown = std::move(firstLike);
        return prepared;
    }
    platform::PictureBox staged = secondLike;
    staged.setPicture(prepared.picture);
    platform::PictureBox blank = firstLike;
    SizeLike(blank, staged);
    if (staged.BackColor() == firstLike.BackColor()) {
        // Both boxes then show the same pixels: share one surface between them.
        platform::PictureBox shown = staged;
        shown.setOwnerScale(firstLike.ownerScale());
        shown.setScaleMode(firstLike.scaleMode());
        shown.setBorderStyle(firstLike.BorderStyle());
        prepared.shown = std::move(shown);
    } else {
        firstLike.setPicture(prepared.picture);
        prepared.shown = std::move(firstLike);
    }
    prepared.staged = std::move(staged);
    prepared.blank = std::move(blank);
    return prepared;
}

}  // namespace

QSize FloatRoom(double screenWidth, double screenHeight) {
    const double width = screenWidth / platform::kTwipsPerPixel;
    const double height = (screenHeight - kFloatTop) / platform::kTwipsPerPixel;
    return QSize(std::max(1, int(width * kRoomShare)), std::max(1, int(height * kRoomShare)));
}

QImage LoadFloatPicture(const QString& path, QSize room, const QColor& background) {
    return LoadFloatPicture(path, room, background, 1).picture;
}

ScaledFloatPicture LoadFloatPicture(const QString& path, QSize room, const QColor& background, double scale) {
    const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
    const QSize shown = room.isEmpty() ? picture.size() : platform::FitWithin(picture.size(), room);
    if (scale == 1) return {platform::OverBackground(picture.decode(shown), background), QImage()};
    // Decoded once, at the larger size; the laid-out picture is made from it.
    const QSize device = platform::FitWithin(picture.size(), (QSizeF(shown) * scale).toSize());
    ScaledFloatPicture loaded;
    loaded.sharp = platform::OverBackground(picture.decode(device), background);
    loaded.picture =
        device == shown ? loaded.sharp : loaded.sharp.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return loaded;
}

QImage FloatShow::sharpPicture(const QImage& shown) const {
    return !shown.isNull() && shown.cacheKey() == shownKey_ ? shownSharp_ : QImage();
}

int32_t CenteredPosition(double screen, double size) { return vb::IntDiv(vb::CLng(screen - size), 2); }

QString MissingPictureMessage(const QString& path) {
    const QString lineBreak = QStringLiteral("\r\n");
    return path + lineBreak + QStringLiteral("does not exist! Glidorama will") + lineBreak +
           QStringLiteral("not function unless a different image is reloaded.");
}

FloatShow::FloatShow(const settings::Values& values, platform::Environment& env, FloatHost& host,
                     std::vector<QString> imageFiles)
    : values_(values),
      env_(env),
      host_(host),
      imageFiles_(std::move(imageFiles)),
      order_(std::max(0, int(imageFiles_.size()) - 1), values.shuffle, env.random),
      transition_(values.floatTransition),
      now_(env.clock->monotonicSeconds()) {
    // Both boxes take the size of the picture loaded into them.
    host_.FirstPicture().setAutoSize(true);
    host_.SecondPicture().setAutoSize(true);
    const double speed = values_.floatSpeed;
    if (speed == 1)
        floatMotion_.setInterval(200);
    else if (speed == 2)
        floatMotion_.setInterval(150);
    else if (speed == 3)
        floatMotion_.setInterval(100);
    else if (speed == 4)
        floatMotion_.setInterval(50);
    else if (speed == 5)
        floatMotion_.setInterval(1);
    // The first picture comes 250 ms after start: begin decoding it now.
    if (!imagePath(0).isEmpty()) prefetch_.start(imagePath(0), preparer());
}

bool FloatShow::animatedPath() const { return transition_ != 0 || values_.randomTransitions; }

FloatPrefetch::Preparer FloatShow::preparer() const {
    const bool animated = animatedPath();
    const QSize room = values_.fitToScreen ? FloatRoom(host_.ScreenWidth(), host_.ScreenHeight()) : QSize();
    return [first = LikeBox(host_.FirstPicture()), second = LikeBox(host_.SecondPicture()), animated, room,
            scale = host_.pictureScale()](const QString& path) {
        return Prepare(path, first, second, animated, room, scale);
    };
}

QString FloatShow::imagePath(int index) const {
    // An index past the list reads as an empty entry.
    if (index < 0 || size_t(index) >= imageFiles_.size()) return QString();
    return entryAt(order_.pictureAt(index));
}

QString FloatShow::entryAt(int position) const {
    if (position < 0 || size_t(position) >= imageFiles_.size()) return QString();
    return imageFiles_[size_t(position)];
}

void FloatShow::start(double now) {
    now_ = now;
    changeScheduler_.setInterval(250);
    changeScheduler_.setEnabled(true);
}

double FloatShow::tick(double now) {
    now_ = now;
    while (stage_ != Stage::Ended) {
        const double step = nextStepAt().value_or(Pace::kNever);
        const double due = std::min({changeScheduler_.due(), floatMotion_.due(), step});
        if (due > now) return due;
        if (changeScheduler_.due() == due) {
            changeScheduler_.stepTaken();
            Timer2Tick();
        } else if (floatMotion_.due() == due) {
            floatMotion_.stepTaken();
            Timer3Tick();
        } else {
            StepTick(now);
        }
    }
    return Pace::kNever;
}

void FloatShow::Timer2Tick() {
    // A tick that comes while a change is under way does not start another.
    if (stage_ != Stage::Idle) return;
    const double k = values_.floatStill;
    const bool neverChange = values_.neverChange;
    if (k == 1 && neverChange) {
        beginChange(Then::StopScheduler);
        return;
    }
    if (k == 0 && neverChange) {
        beginChange(Then::StopSchedulerAndFloat);
        return;
    }
    if (k == 0) {
        env_.random->Randomize();
        drawDirection();
        floatMotion_.setEnabled(true);
    }
    if (values_.pictureCount - 1 < floatImageIndex_) {
        floatImageIndex_ = 0;
        order_.newRound();
    }
    beginChange(Then::NextPicture);
}

std::optional<double> FloatShow::nextStepAt() const {
    if (!changing()) return std::nullopt;
    return due_;
}

void FloatShow::beginChange(Then then) {
    then_ = then;
    changePath_ = imagePath(floatImageIndex_);
    stage_ = Stage::Begin;
    due_ = now_;
    step(now_);
}

void FloatShow::StepTick(double now) {
    now_ = now;
    if (changing() && now >= due_) step(now);
}

void FloatShow::step(double now) {
    try {
        platform::PictureBox& first = host_.FirstPicture();
        if (stage_ == Stage::Begin) {
            animated_ = animatedPath();
            if (!animated_) {
                // "Standard": the screen goes without the picture for a moment.
                first.setVisible(false);
                host_.presentPictures();
                stage_ = Stage::Pause;
                due_ = now + kStandardPauseSeconds;
                return;
            }
        }
        if (stage_ == Stage::Begin || stage_ == Stage::Pause) {
            // An empty entry names no file: loading it clears the picture, so
            // the change shows only the background instead of failing.
            if (!changePath_.isEmpty()) prefetch_.request(changePath_, preparer());
            stage_ = Stage::Load;
        }
        if (stage_ == Stage::Load) {
            if (!changePath_.isEmpty() && !prefetch_.ready()) {
                // The display goes on while the worker decodes; look again soon.
                due_ = now + kDecodeWaitSeconds;
                return;
            }
            prepared_ = changePath_.isEmpty() ? PreparedPicture() : prefetch_.take();
            if (!animated_) {
                if (!Adopt(first, prepared_.shown)) first.setPicture(prepared_.picture);
                centre(first);
                first.setVisible(true);
                host_.presentPictures();
                stage_ = Stage::Shown;
            } else {
                startTransition(now);
            }
        } else if (stage_ == Stage::Transition) {
            transitionStep();
        }
    } catch (const vb::RuntimeError& e) {
        // A file that is there but cannot be shown says why; a missing one keeps its message.
        passOverOrEnd(e.number() == vb::kFileNotFound ? MissingPictureMessage(changePath_)
                                                      : platform::RefusalMessage(changePath_, e));
    } catch (const std::bad_alloc& e) {
        passOverOrEnd(platform::RefusalMessage(changePath_, e));
    }
    if (stage_ == Stage::Shown) {
        shownSharp_ = prepared_.sharp;
        shownKey_ = host_.FirstPicture().Image().cacheKey();
        finishChange();
    }
}

void FloatShow::startTransition(double now) {
    platform::PictureBox& first = host_.FirstPicture();
    platform::PictureBox& second = host_.SecondPicture();
    // The old picture stayed on show while the new one was made ready.
    if (Adopt(first, prepared_.blank)) {
        first.setVisible(true);
        if (!Adopt(second, prepared_.staged)) second.setPicture(prepared_.picture);
    } else {
        first.setPicture(QImage());
        first.setWidth(1);
        first.setHeight(1);
        first.setVisible(true);
        second.setPicture(prepared_.picture);
        SizeLike(first, second);
    }
    centre(first);
    host_.presentPictures();
    transition_ = PickTransition(transition_, values_.randomTransitions, *env_.random);
    player_.emplace(TransitionCopies(transition_, float(second.ScaleWidth()), float(second.ScaleHeight())));
    transitionStart_ = now;
    stage_ = Stage::Transition;
    transitionStep();
}

void FloatShow::transitionStep() {
    platform::PictureBox& first = host_.FirstPicture();
    platform::PictureBox& second = host_.SecondPicture();
    if (player_->done()) {
        // The box on show takes the staged picture, shared, not copied.
        if (second.Picture().cacheKey() != prepared_.picture.cacheKey() || !Adopt(first, prepared_.shown)) {
            first.setPicture(second.Picture());
        }
        host_.presentPictures();
        stage_ = Stage::Shown;
        return;
    }
    player_->drawFrame(second.Picture(), first.surface(), copyObserver_);
    host_.presentPictures();
    due_ = transitionStart_ + player_->nextFrame() * TransitionPlayer::kSeconds / player_->frames();
}

void FloatShow::passOverOrEnd(const QString& message) {
    // Ended before the host acts: a message box it shows runs events, and
    // nothing of the show may move meanwhile.
    stage_ = Stage::Ended;
    host_.failAndEnd(message);
    // The show goes on when the host passes over the failure: this change
    // is over, the next one takes the next picture.
    if (host_.passesOverFailures()) stage_ = Stage::Shown;
}

void FloatShow::finishChange() {
    stage_ = Stage::Idle;
    prepared_ = PreparedPicture();
    player_.reset();
    switch (then_) {
        case Then::StopScheduler: changeScheduler_.setEnabled(false); break;
        case Then::StopSchedulerAndFloat:
            drawDirection();
            floatMotion_.setEnabled(true);
            changeScheduler_.setEnabled(false);
            break;
        case Then::NextPicture:
            floatImageIndex_ = floatImageIndex_ + 1;
            changeScheduler_.setInterval(changeInterval());
            prefetchNext();
            break;
    }
}

int32_t FloatShow::changeInterval() const {
    try {
        return vb::CLng(values_.changeInterval * 1000);
    } catch (const vb::RuntimeError& e) {
        // A time past the longest a timer can wait (about 24 days) would stop
        // the saver after its first picture; the built-in time is used instead.
        if (e.number() != vb::kOverflow) throw;
        return vb::CLng(vb::CDbl(settings::DefaultValue(&settings::Settings::changeInterval)) * 1000);
    }
}

void FloatShow::prefetchNext() {
    const bool wraps = values_.pictureCount - 1 < floatImageIndex_;
    // The next round's first picture, when this round is over.
    const QString path = wraps ? entryAt(order_.nextRoundPictureAt(0)) : imagePath(floatImageIndex_);
    if (!path.isEmpty()) prefetch_.start(path, preparer());
}

void FloatShow::drawDirection() {
    for (double& direction : floatDirection_) {
        direction = vb::Int(double(env_.random->Rnd() * 2.0f));
        direction = direction == 1 ? -kFloatStep : kFloatStep;
    }
    floatStepX_ = vb::CInt(floatDirection_[0]);
    floatStepY_ = vb::CInt(floatDirection_[1]);
}

void FloatShow::centre(platform::PictureBox& box) {
    box.setLeft(CenteredPosition(host_.ScreenWidth(), box.Width()));
    box.setTop(CenteredPosition(host_.ScreenHeight(), box.Height()));
}

void FloatShow::Timer3Tick() {
    if (stage_ == Stage::Ended) return;
    platform::PictureBox& box = host_.FirstPicture();
    const float left = float(box.Left());
    const float top = float(box.Top());
    const float width = float(box.Width());
    const float height = float(box.Height());
    const double screenWidth = host_.ScreenWidth();
    const double screenHeight = host_.ScreenHeight();
    if (left < 0 || left > screenWidth || width + left > screenWidth) floatStepX_ = -floatStepX_;
    if (kFloatTop > top || top > screenHeight || height + top > screenHeight) floatStepY_ = -floatStepY_;
    box.setLeft(float(int16_t(floatStepX_)) + left);
    box.setTop(float(int16_t(floatStepY_)) + top);
    host_.presentPictures();
}

}  // namespace display
