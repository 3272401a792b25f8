// Picture changes of the clone effects: the change scheduler admits clones
// to the next picture and asks for a change once all have passed; the
// next-picture loader fills the set that has gone off show with the next
// cached picture and swaps the two set ticks. Float changes its pictures
// itself (FloatShow).
#include "display/form1.h"

#include "imagestore/cache_paths.h"
#include "platform/picture.h"
#include "platform/vb.h"

namespace display {

QString Form1::cachedPictureNumber() const {
    if (!pictureOrder.shuffled()) return cacheNumber;
    bool whole = false;
    const int step = cacheNumber.toInt(&whole);
    return whole ? QString::number(pictureOrder.pictureAt(step)) : cacheNumber;
}

void Form1::Timer2_Timer() {
    switch (clones_.scheduleTick()) {
        case CloneField::ScheduleResult::LoadNextPicture: nextPictureLoader_.setEnabled(true); break;
        case CloneField::ScheduleResult::StopScheduling: changeScheduler_.setEnabled(false); break;
        case CloneField::ScheduleResult::Nothing: break;
    }
}

void Form1::Timer4_Timer() {
    QString cachePath;
    try {
        cacheNumber = vb::CStr(vb::CDbl(cacheNumber) + 1);
        if (cacheNumber == settings_.pictureCount) {
            cacheNumber = QStringLiteral("0");
            pictureOrder.newRound();
        }
        cachePath = imagestore::CachedPicturePath(env_.dataFolder(), cachedPictureNumber());
        const bool fillSecond = clones_.loadTarget == 0;
        platform::PictureBox& source = fillSecond ? secondPicture_ : firstPicture_;
        DisplayArray& members = fillSecond ? clones_.secondSet : clones_.firstSet;
        source.Cls();
        for (platform::PictureBox& member : members) member.Cls();
        source.setPicture(platform::LoadPicture(cachePath));
        BuildPictureSet(source, members);
        clones_.pictureLoaded();
        if (fillSecond) {
            secondSetTick_.setEnabled(false);
            firstSetTick_.setEnabled(true);
        } else {
            firstSetTick_.setEnabled(false);
            secondSetTick_.setEnabled(true);
        }
        nextPictureLoader_.setEnabled(false);
        nextPictureLoader_.setInterval(1);
    } catch (const vb::RuntimeError&) {
        failAndEnd(NotProcessedMessage(cachePath));
    } catch (const std::bad_alloc&) {
        failAndEnd(NotProcessedMessage(cachePath));
    }
}

}  // namespace display
