#include "display/adapted_float.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/colors.h"
#include "platform/vb.h"

namespace display {

namespace {
// The motion timer's interval for each "FloatSpeed"; other speeds keep 100 ms.
int32_t MotionInterval(double speed) {
    if (speed == 1) return 200;
    if (speed == 2) return 150;
    if (speed == 3) return 100;
    if (speed == 4) return 50;
    if (speed == 5) return 1;
    return 100;
}
}  // namespace

AdaptedFloat::AdaptedFloat(const AnimationStart& start)
    : size_(start.size),
      damaged_(start.damaged),
      failed_(start.failed),
      running_(start.running),
      changeScheduler_([this] {
          if (running()) show_->Timer2Tick();
      }),
      floatMotion_([this] {
          if (running()) show_->Timer3Tick();
      }) {
    // The pictures by position, 0 to newTotal: entries past the list stay empty.
    std::vector<QString> imageFiles(size_t(vb::CLng(start.values.pictureCount)) + 1);
    std::copy(start.values.pictures.begin(), start.values.pictures.end(), imageFiles.begin());
    const int32_t background = vb::CLng(start.settings.backgroundColor);
    backColor_ = platform::FromWindowsColor(background);
    for (platform::PictureBox* box : {&firstPicture_, &secondPicture_}) {
        box->setBackColor(background);
        box->setBorderStyle(0);
        box->setAutoSize(true);
        box->setScaleMode(platform::ScaleMode::Pixels);
        // Left and Top are in the display's twips.
        box->setOwnerScale(platform::ScaleMode::Twips);
    }
    changeScheduler_.setInterval(250);
    changeScheduler_.setEnabled(true);
    floatMotion_.setInterval(MotionInterval(vb::CDbl(start.settings.floatSpeed)));
    show_ = std::make_unique<FloatShow>(start.settings, start.env, *this, std::move(imageFiles));
    damage_.region = QRect(QPoint(0, 0), size_);
}

AdaptedFloat::~AdaptedFloat() = default;

Animation::Millis AdaptedFloat::tick(Millis) { return kNever; }

Damage AdaptedFloat::takeDamage() { return std::exchange(damage_, Damage()); }

void AdaptedFloat::resize(QSize size) {
    size_ = size;
    damage_ = Damage();
    damage_.region = QRect(QPoint(0, 0), size_);
}

QRect AdaptedFloat::pictureArea() const {
    if (!firstPicture_.Visible()) return QRect();
    return QRect(firstPicture_.pixelPosition(), firstPicture_.Image().size());
}

void AdaptedFloat::presentPictures() {
    const QRect now = pictureArea();
    const qint64 nowKey = now.isEmpty() ? 0 : firstPicture_.Image().cacheKey();
    const QPoint step = now.topLeft() - shownRect_.topLeft();
    const bool unchanged = now == shownRect_ && nowKey == shownKey_;
    const bool onlyMoved = damage_.isEmpty() && !now.isEmpty() && nowKey == shownKey_ &&
                           now.size() == shownRect_.size() && std::abs(step.x()) < now.width() / 2 &&
                           std::abs(step.y()) < now.height() / 2;
    if (unchanged) {
        // Nothing on screen changes.
    } else if (onlyMoved) {
        // The same pixels one step further.
        damage_.scrolled = shownRect_ | now;
        damage_.scrollBy = step;
        damage_.region = QRegion(damage_.scrolled).subtracted(damage_.scrolled.translated(step));
    } else {
        damage_.region = damage_.all().boundingRect() | shownRect_ | now;
        damage_.scrolled = QRect();
        damage_.scrollBy = QPoint();
    }
    shownRect_ = now;
    shownKey_ = nowKey;
    if (!damage_.isEmpty() && damaged_) damaged_();
}

void AdaptedFloat::paint(QPainter& painter, const QRegion& area) const {
    // The background only where the picture is not, and the picture only
    // where it meets the area painted: each pixel is written once.
    const QImage& image = firstPicture_.Image();
    const QRect picture = image.isNull() ? QRect() : pictureArea();
    for (const QRect& r : area.subtracted(picture)) painter.fillRect(r, backColor_);
    if (picture.isEmpty()) return;
    for (const QRect& r : area) {
        const QRect part = r & picture;
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), image, part.translated(-picture.topLeft()));
    }
}

void AdaptedFloat::DoEvents() { QCoreApplication::processEvents(); }

void AdaptedFloat::failAndEnd(const QString& message) {
    lastOutcome_ = failed_ ? failed_(message) : FailureOutcome::End;
    if (lastOutcome_ != FailureOutcome::PassOver) {
        failedToStill_ = true;
        changeScheduler_.setEnabled(false);
        floatMotion_.setEnabled(false);
    }
}

}  // namespace display
