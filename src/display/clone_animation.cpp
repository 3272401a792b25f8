#include "display/clone_animation.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <new>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_record.h"
#include "picture/picture.h"
#include "runtime/colors.h"
#include "runtime/vb.h"

namespace display {

QString NotProcessedMessage(const QString& path) {
    const QString crlf = QStringLiteral("\r\n");
    return path + crlf + QStringLiteral("was not processed correctly! Glidorama will") + crlf +
           QStringLiteral("not function unless a different image is reloaded.") + crlf +
           QStringLiteral("Please go into settings and choose a different image.");
}

CloneAnimation::CloneAnimation(const AnimationStart& start)
    : values_(start.values),
      dataFolder_(start.env.dataFolder()),
      clones_(start.values, *start.env.random, buffer_),
      pictureOrder_(ShuffleCount(start.values.pictureCount), start.values.shuffle, start.env.random) {
    buffer_.resize(start.size, start.scale);
    const imagestore::CacheRecord record = imagestore::CacheRecord::Load(dataFolder_);
    for (auto it = record.copies().cbegin(); it != record.copies().cend(); ++it)
        copyScales_.insert(it.key(), it.value().scale);
    const int32_t background = vb::CLng(double(values_.backgroundColor));
    buffer_.setBackColor(platform::FromWindowsColor(background));
    for (platform::PictureBox* box : {&firstPicture_, &secondPicture_}) {
        box->setAutoSize(true);
        box->setBackColor(background);
        box->setBorderStyle(0);
    }
    // Sizes and places on the display are in pixels.
    for (platform::PictureBox* box : {&firstPicture_, &secondPicture_}) box->setOwnerScale(platform::ScaleMode::Pixels);
    for (auto* set : {&clones_.firstSet, &clones_.secondSet})
        for (platform::PictureBox& box : *set) box.setOwnerScale(platform::ScaleMode::Pixels);
    clones_.setEffect(start.effect);

    // From here on a picture that cannot be loaded or used fails naming the
    // cached file built last.
    QString path;
    try {
        path = cachedPicturePath();
        firstPicture_.setPicture(loadCachedPicture(path));
        clones_.placeClones();
        BuildPictureSet(firstPicture_, clones_.firstSet);
        pictureCount_ = values_.pictureCount;
        if (pictureCount_ > 1) {
            cacheNumber_ = 1;
            path = cachedPicturePath();
            secondPicture_.setPicture(loadCachedPicture(path));
            BuildPictureSet(secondPicture_, clones_.secondSet);
            clones_.secondSetReady = 1;
        }
        firstPicture_.setScaleMode(platform::ScaleMode::Pixels);
        secondPicture_.setScaleMode(platform::ScaleMode::Pixels);
        setUpPaces();
        clones_.setUpProfile();
    } catch (const vb::RuntimeError&) {
        throw Failure{NotProcessedMessage(path)};
    } catch (const std::bad_alloc&) {
        throw Failure{NotProcessedMessage(path)};
    }
}

int CloneAnimation::cachedPictureNumber() const {
    return pictureOrder_.shuffled() ? pictureOrder_.pictureAt(cacheNumber_) : cacheNumber_;
}

QString CloneAnimation::cachedPicturePath() const {
    return imagestore::CachedPicturePath(dataFolder_, QString::number(cachedPictureNumber()));
}

QImage CloneAnimation::loadCachedPicture(const QString& path) const {
    const QImage copy = platform::LoadPicture(path);
    const double resize = buffer_.scale() / copyScales_.value(cachedPictureNumber(), 1);
    if (resize == 1 || copy.isNull()) return copy;
    const QSize size(std::max(1, int(std::lround(copy.width() * resize))),
                     std::max(1, int(std::lround(copy.height() * resize))));
    return copy.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The paces of the chosen effect, from the speed and change settings.
void CloneAnimation::setUpPaces() {
    const settings::Effect effect = clones_.effect();
    if (effect.changesOnSchedule() && !values_.neverChange && pictureCount_ > 1) {
        changeScheduler_.setInterval(vb::CLng(values_.changeInterval * 1000));
        changeScheduler_.setEnabled(true);
    }
    firstSetTick_.setEnabled(true);
    firstSetTick_.setInterval(vb::CLng(values_.cloneSpeed.value()));
    secondSetTick_.setInterval(vb::CLng(values_.cloneSpeed.value()));
    if (effect.pacesItsOwnChanges() && pictureCount_ > 1 && values_.changeFrequency != 0) {
        changeScheduler_.setInterval(5000);
        changeScheduler_.setEnabled(true);
    }
}

Animation::Millis CloneAnimation::tick(Millis now) {
    Pace* const paces[] = {&firstSetTick_, &changeScheduler_, &nextPictureLoader_, &secondSetTick_};
    const auto earliest = [&] {
        return *std::min_element(std::begin(paces), std::end(paces),
                                 [](const Pace* a, const Pace* b) { return a->due() < b->due(); });
    };
    now_ = now;
    if (!started_) {
        // The paces count from the first tick, as timers count from the start.
        started_ = true;
        for (Pace* pace : paces)
            if (pace->Enabled()) {
                pace->setEnabled(false);
                pace->setEnabled(true);
            }
        return earliest()->due();
    }
    for (;;) {
        Pace* const next = earliest();
        if (next->due() > now) return next->due();
        next->stepTaken();
        if (next == &firstSetTick_)
            Timer1_Timer();
        else if (next == &changeScheduler_)
            Timer2_Timer();
        else if (next == &nextPictureLoader_)
            Timer4_Timer();
        else
            Timer5_Timer();
    }
}

void CloneAnimation::cloneTick(bool secondSetOnShow) {
    if (clones_.tick(secondSetOnShow)) nextPictureLoader_.setEnabled(true);
}

void CloneAnimation::Timer2_Timer() {
    switch (clones_.scheduleTick()) {
        case CloneField::ScheduleResult::LoadNextPicture: nextPictureLoader_.setEnabled(true); break;
        case CloneField::ScheduleResult::StopScheduling: changeScheduler_.setEnabled(false); break;
        case CloneField::ScheduleResult::Nothing: break;
    }
}

void CloneAnimation::Timer4_Timer() {
    cacheNumber_ += 1;
    if (cacheNumber_ == pictureCount_) {
        cacheNumber_ = 0;
        pictureOrder_.newRound();
    }
    const QString path = cachedPicturePath();
    const bool fillSecond = clones_.loadTarget == 0;
    platform::PictureBox& source = fillSecond ? secondPicture_ : firstPicture_;
    DisplayArray& members = fillSecond ? clones_.secondSet : clones_.firstSet;
    try {
        source.Cls();
        for (platform::PictureBox& member : members) member.Cls();
        source.setPicture(loadCachedPicture(path));
        BuildPictureSet(source, members);
    } catch (const vb::RuntimeError&) {
        throw Failure{NotProcessedMessage(path)};
    } catch (const std::bad_alloc&) {
        throw Failure{NotProcessedMessage(path)};
    }
    clones_.pictureLoaded();
    firstSetTick_.setEnabled(fillSecond);
    secondSetTick_.setEnabled(!fillSecond);
    nextPictureLoader_.setEnabled(false);
    nextPictureLoader_.setInterval(1);
}

Damage CloneAnimation::takeDamage() {
    const BackBuffer::Changes changes = buffer_.takeChanges();
    Damage damage;
    if (changes.all) {
        damage.region = QRect(QPoint(0, 0), buffer_.size());
    } else {
        damage.rects = changes.rects;
    }
    return damage;
}

void CloneAnimation::paint(QPainter& painter, const QRegion& area) const {
    const double scale = buffer_.scale();
    for (const QRect& r : area) {
        if (scale == 1) {
            painter.drawImage(r.topLeft(), buffer_.image(), r);
        } else {
            // The device pixels under the logical rectangle, one to one
            // where the painter carries the same scale.
            const QRectF device(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
            painter.drawImage(QRectF(r), buffer_.image(), device);
        }
    }
}

bool CloneAnimation::keepFrameIn(ImageMaker make) {
    buffer_.setImageMaker(std::move(make));
    return true;
}

void CloneAnimation::resize(QSize size) { buffer_.resize(size, buffer_.scale()); }

}  // namespace display
