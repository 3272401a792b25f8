#include "display/float_show.h"

#include <chrono>
#include <new>
#include <thread>

#include "display/transition_player.h"
#include "platform/colors.h"
#include "platform/picture.h"
#include "platform/scoped_flag.h"
#include "settings/defaults.h"

namespace display {

namespace {

// The "Standard" change leaves the screen without the picture this long.
constexpr double kStandardPauseSeconds = 0.3;
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
                        bool animated, QSize room) {
    PreparedPicture prepared;
    prepared.picture = LoadFloatPicture(path, room, platform::FromWindowsColor(firstLike.BackColor()));
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
    const platform::EncodedPicture picture = platform::EncodedPicture::Open(path);
    const QSize shown = room.isEmpty() ? picture.size() : platform::FitWithin(picture.size(), room);
    return platform::OverBackground(picture.decode(shown), background);
}

int32_t CenteredPosition(double screen, double size) { return vb::IntDiv(vb::CLng(screen - size), 2); }

QString MissingPictureMessage(const QString& path) {
    const QString lineBreak = QStringLiteral("\r\n");
    return path + lineBreak + QStringLiteral("does not exist! Glidorama will") + lineBreak +
           QStringLiteral("not function unless a different image is reloaded.");
}

FloatShow::FloatShow(settings::Settings& settings, platform::Environment& env, FloatHost& host,
                     std::vector<QString> imageFiles)
    : settings_(settings),
      env_(env),
      host_(host),
      imageFiles_(std::move(imageFiles)),
      order_(std::max(0, int(imageFiles_.size()) - 1), IsShuffled(settings), env.random) {
    // Both boxes take the size of the picture loaded into them.
    host_.FirstPicture().setAutoSize(true);
    host_.SecondPicture().setAutoSize(true);
    // The first picture comes 250 ms after start: begin decoding it now.
    if (!imagePath(0).isEmpty()) prefetch_.start(imagePath(0), preparer());
}

bool FloatShow::animatedPath() const {
    return vb::CDbl(settings_.floatTransition) != 0 || vb::CDbl(settings_.randomTransitions) == 1;
}

bool FloatShow::fitToScreen() const {
    try {
        return vb::CDbl(settings_.fitToScreen) != 0;
    } catch (const vb::RuntimeError&) {
        return true;  // settings made in code without the key: the built-in choice
    }
}

FloatPrefetch::Preparer FloatShow::preparer() const {
    bool animated = true;  // unreadable settings fail later, at the change; prepare for both paths
    try {
        animated = animatedPath();
    } catch (const vb::RuntimeError&) {}
    const QSize room = fitToScreen() ? FloatRoom(host_.ScreenWidth(), host_.ScreenHeight()) : QSize();
    return [first = LikeBox(host_.FirstPicture()), second = LikeBox(host_.SecondPicture()), animated,
            room](const QString& path) { return Prepare(path, first, second, animated, room); };
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

void FloatShow::pumpOnce() { host_.DoEvents(); }

void FloatShow::pumpUntil(double deadline) {
    do {
        pumpOnce();
        // Sleep a little between passes rather than spin, but never past the deadline.
        if (deadline - env_.clock->monotonicSeconds() > 0.002)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (env_.clock->monotonicSeconds() < deadline);
}

void FloatShow::Timer2Tick() {
    // A tick that comes while a change pumps events does not start another.
    if (changing_ || ended_) return;
    platform::ScopedFlag changing(changing_);  // a change is under way for as long as this lasts
    const double k = vb::CDbl(settings_.floatStill);
    const bool neverChange = vb::CBool(settings_.neverChange);
    if (k == 1 && neverChange) {
        if (!ShowNextImage()) return;
        host_.changeScheduler().setEnabled(false);
        return;
    }
    if (k == 0 && neverChange) {
        if (!ShowNextImage()) return;
        drawDirection();
        host_.floatMotion().setEnabled(true);
        host_.changeScheduler().setEnabled(false);
        return;
    }
    if (k == 0) {
        env_.random->Randomize();
        drawDirection();
        host_.floatMotion().setEnabled(true);
    }
    changeStep();
}

void FloatShow::changeStep() {
    if (vb::CDbl(settings_.pictureCount) - 1 < floatImageIndex_) {
        floatImageIndex_ = 0;
        order_.newRound();
    }
    if (!ShowNextImage()) return;
    floatImageIndex_ = floatImageIndex_ + 1;
    host_.changeScheduler().setInterval(changeInterval());
    prefetchNext();
}

int32_t FloatShow::changeInterval() const {
    try {
        return vb::CLng(vb::CDbl(settings_.changeInterval) * 1000);
    } catch (const vb::RuntimeError& e) {
        // A time past the longest a timer can wait (about 24 days) would stop
        // the saver after its first picture; the built-in time is used instead.
        if (e.number() != vb::kOverflow) throw;
        return vb::CLng(vb::CDbl(settings::DefaultValue(&settings::Settings::changeInterval)) * 1000);
    }
}

void FloatShow::prefetchNext() {
    const bool wraps = vb::CDbl(settings_.pictureCount) - 1 < floatImageIndex_;
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

bool FloatShow::passOverOrEnd(const QString& message) {
    ended_ = true;
    host_.failAndEnd(message);
    if (!host_.passesOverFailures()) return false;
    // The show goes on: this change is over, the next one takes the next picture.
    ended_ = false;
    return true;
}

bool FloatShow::ShowNextImage() {
    const QString path = imagePath(floatImageIndex_);
    platform::ScopedFlag changing(changing_);  // a change is under way for as long as this lasts
    const auto whileDecoding = [this] {
        pumpOnce();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    // An empty entry names no file: loading it clears the picture, so the
    // change shows only the background instead of failing.
    const auto take = [&] {
        return path.isEmpty() ? PreparedPicture() : prefetch_.take(path, preparer(), whileDecoding);
    };
    try {
        platform::PictureBox& first = host_.FirstPicture();
        platform::PictureBox& second = host_.SecondPicture();
        if (animatedPath()) {
            // The old picture stays on show while the new one is made ready.
            PreparedPicture prepared = take();
            if (Adopt(first, prepared.blank)) {
                first.setVisible(true);
                if (!Adopt(second, prepared.staged)) second.setPicture(prepared.picture);
            } else {
                first.setPicture(QImage());
                first.setWidth(1);
                first.setHeight(1);
                first.setVisible(true);
                second.setPicture(prepared.picture);
                SizeLike(first, second);
            }
            centre(first);
            host_.presentPictures();
            PlayTransition();
            if (ended_) return false;
            // The box on show takes the staged picture, shared, not copied.
            if (second.Picture().cacheKey() != prepared.picture.cacheKey() || !Adopt(first, prepared.shown)) {
                first.setPicture(second.Picture());
            }
        } else {
            first.setVisible(false);
            host_.presentPictures();
            pumpUntil(env_.clock->monotonicSeconds() + kStandardPauseSeconds);
            PreparedPicture prepared = take();
            if (!Adopt(first, prepared.shown)) first.setPicture(prepared.picture);
            centre(first);
            first.setVisible(true);
        }
        host_.presentPictures();
        return true;
    } catch (const vb::RuntimeError& e) {
        // A file that is there but cannot be shown says why; a missing one keeps its message.
        return passOverOrEnd(e.number() == vb::kFileNotFound ? MissingPictureMessage(path)
                                                             : platform::RefusalMessage(path, e));
    } catch (const std::bad_alloc& e) {
        return passOverOrEnd(platform::RefusalMessage(path, e));
    }
}

void FloatShow::PlayTransition() {
    settings_.floatTransition = PickTransition(settings_.floatTransition, settings_.randomTransitions, *env_.random);
    const double t = vb::CDbl(settings_.floatTransition);
    platform::PictureBox& second = host_.SecondPicture();
    const auto copies = TransitionCopies(t, float(second.ScaleWidth()), float(second.ScaleHeight()));
    const double start = env_.clock->monotonicSeconds();
    TransitionPlayer::Play(copies, second.Picture(), host_.FirstPicture().surface(), copyObserver_,
                           [&](int frame, int frames) {
                               host_.presentPictures();
                               pumpUntil(start + (frame + 1) * TransitionPlayer::kSeconds / frames);
                               return !ended_;
                           });
}

void FloatShow::Timer3Tick() {
    if (ended_) return;
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
