#include "display/float_animation.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "runtime/colors.h"
#include "runtime/vb.h"

namespace display {

namespace {
// The picture boxes as the display sets them up: positions in twips,
// pictures in pixels, no border, the background behind transparent parts.
platform::PictureBox SetUpBox(int64_t background) {
    platform::PictureBox box(platform::ScaleMode::Twips);
    box.setScaleMode(platform::ScaleMode::Pixels);
    box.setBackColor(background);
    box.setBorderStyle(0);
    return box;
}

std::vector<QString> PicturesByPosition(const settings::Values& values) {
    std::vector<QString> files(size_t(std::max(vb::CLng(values.pictureCount), 0)) + 1);
    const auto listed = std::min(size_t(values.pictures.size()), files.size());
    std::copy_n(values.pictures.begin(), listed, files.begin());
    return files;
}
}  // namespace

FloatAnimation::FloatAnimation(const AnimationStart& start)
    : FloatAnimation(start.values, start.env, start.size, PicturesByPosition(start.values), start.scale) {}

FloatAnimation::FloatAnimation(const settings::Values& values, platform::Environment& env, QSize size,
                               std::vector<QString> imageFiles, double scale)
    : size_(size),
      scale_(scale),
      backColorValue_(values.backgroundColor),
      background_(platform::FromWindowsColor(backColorValue_)),
      firstPicture_(SetUpBox(backColorValue_)),
      secondPicture_(SetUpBox(backColorValue_)),
      show_(values, env, *this, std::move(imageFiles)) {
    damage_.region = QRect(QPoint(0, 0), size_);
}

Animation::Millis FloatAnimation::tick(Millis now) {
    if (!started_) show_.start(now / 1000);
    started_ = true;
    const double next = show_.tick(now / 1000);
    if (failure_) {
        const QString message = *std::exchange(failure_, std::nullopt);
        throw Failure{message};
    }
    return next * 1000;
}

QRect FloatAnimation::pictureArea() const {
    if (!firstPicture_.Visible() || firstPicture_.Image().isNull()) return QRect();
    return QRect(firstPicture_.pixelPosition(), firstPicture_.Image().size());
}

void FloatAnimation::presentPictures() {
    const QRect now = pictureArea();
    const qint64 nowKey = now.isEmpty() ? 0 : firstPicture_.Image().cacheKey();
    if (now == shownRect_ && nowKey == shownKey_) return;  // nothing on screen changes
    const QPoint step = now.topLeft() - shownRect_.topLeft();
    // The same pixels a little further on, with nothing else waiting: the
    // surface may move what it shows and paint only the strips uncovered.
    const bool onlyMoved = damage_.isEmpty() && !now.isEmpty() && nowKey == shownKey_ &&
                           now.size() == shownRect_.size() && std::abs(step.x()) < now.width() / 2 &&
                           std::abs(step.y()) < now.height() / 2;
    if (onlyMoved) {
        // What the move does not bring: the strips the picture uncovers, and
        // where it comes back from past the frame's edge (bouncing, it
        // reaches a pixel beyond).
        const QRect moved = (shownRect_ | now) & QRect(QPoint(0, 0), size_);
        damage_.scrolled = moved;
        damage_.scrollBy = step;
        damage_.region = QRegion(moved).subtracted(moved.translated(step));
    } else {
        // One rectangle around all that changed: a plain rectangle is
        // painted on the fast paths, two overlapping ones go span by span.
        damage_.region = damage_.all().boundingRect() | shownRect_ | now;
        damage_.scrolled = QRect();
        damage_.scrollBy = QPoint();
    }
    shownRect_ = now;
    shownKey_ = nowKey;
}

Damage FloatAnimation::takeDamage() { return std::exchange(damage_, Damage()); }

void FloatAnimation::paint(QPainter& painter, const QRegion& area) const {
    // The background only where the picture is not, and the picture only
    // where it meets the area painted: each pixel is written once.
    const QRect picture = pictureArea();
    for (const QRect& r : area.subtracted(picture)) painter.fillRect(r, background_);
    if (picture.isEmpty()) return;
    const QImage& image = firstPicture_.Image();
    // The picture at device pixels where the show has it: drawn one to one
    // on a painter that carries the scale, instead of enlarged.
    const QImage sharp = show_.sharpPicture(image);
    const double perX = sharp.isNull() ? 1 : double(sharp.width()) / image.width();
    const double perY = sharp.isNull() ? 1 : double(sharp.height()) / image.height();
    for (const QRect& r : area) {
        const QRect part = r & picture;
        if (part.isEmpty()) continue;
        const QRect from = part.translated(-picture.topLeft());
        if (sharp.isNull()) {
            painter.drawImage(part.topLeft(), image, from);
        } else {
            painter.drawImage(QRectF(part), sharp,
                              QRectF(from.x() * perX, from.y() * perY, from.width() * perX, from.height() * perY));
        }
    }
}

void FloatAnimation::resize(QSize size) {
    size_ = size;
    damage_ = Damage();
    damage_.region = QRect(QPoint(0, 0), size_);
}

}  // namespace display
