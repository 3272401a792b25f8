// The field of the seven clone effects: every clone's place, heading and
// stage, the two picture sets the clones show, and the hand-over of clones
// from the set on show to the next picture. It draws into a back buffer and
// draws its random numbers from a random source, so a test can drive it
// without a window; CloneAnimation's paces call its ticks and act on what
// they report.
#pragma once

#include <array>
#include <vector>

#include "display/back_buffer.h"
#include "display/picture_set.h"
#include "runtime/clock.h"
#include "runtime/vb.h"
#include "settings/effect.h"
#include "settings/values.h"

namespace display {

class CloneField {
public:
    CloneField(const settings::Values& values, platform::RandomSource& random, BackBuffer& buffer)
        : values_(values), random_(random), buffer_(buffer) {}

    // The effect of this run, given once the settings are read.
    void setEffect(settings::Effect effect) { effect_ = effect; }
    settings::Effect effect() const { return effect_; }
    // The frame the clones move in, and the run's random numbers.
    QSize size() const { return buffer_.size(); }
    platform::RandomSource& random() const { return random_; }
    // Sizes the clone arrays for "ClonesOfImage" and puts every clone off
    // screen at stage 12 on the first set. A negative count raises error 9,
    // one past the 16-bit range error 6, before anything is sized.
    void placeClones();
    // The step lengths and trails that make each clone effect look its own.
    void setUpProfile();

    // One tick of every clone: each re-enters when off screen, moves one
    // step, is copied to the back buffer from the set it shows and takes its
    // next stage and heading. `secondSetOnShow` says which set is on show.
    // True when the next picture is wanted (for the set `loadTarget` names).
    bool tick(bool secondSetOnShow);

    // What the change scheduler's tick asks of the display.
    enum class ScheduleResult { Nothing, LoadNextPicture, StopScheduling };
    // The change scheduler's tick for the clone effects: admits more clones
    // to the next picture, or asks for the next picture once all have passed.
    ScheduleResult scheduleTick();
    // A picture was loaded into the set `loadTarget` named: that set is ready
    // and the admissions start afresh.
    void pictureLoaded();
    // introCount = CInt(IntroImageAmount + introCount), held within 16 bits.
    void addIntroImageAmount();

    // Stage and heading of clone `cloneIndex`.
    void ApproachClone();
    void RecedeClone();
    void AimClone(const vb::Integer& step);

    // Stage k of the first and the second picture set is element k - 1.
    DisplayArray firstSet;
    DisplayArray secondSet;

    // Clone state, one element per clone.
    std::vector<vb::Integer> cloneX, cloneY, cloneDX, cloneDY, cloneStage, cloneSet, vortexPhase;
    vb::Integer cloneIndex = 0;
    // How the clones of an effect of its own move, null for the seven:
    // `enter` places clone `i` as it re-enters, `aim` heads it for the step
    // length `step`. Effects without one enter anywhere and head away from
    // the centre.
    struct Motion {
        void (*enter)(CloneField& field, size_t i);
        void (*aim)(CloneField& field, size_t i, int step);
    };
    const Motion* motion = nullptr;
    // Nonzero: the tick draws over the last one instead of clearing first.
    vb::Integer keepTrails = 0;
    // Slot s: the step length on leaving stage 12 - s.
    std::array<vb::Integer, kStageCount> stageStep{};
    vb::Integer pacingCounter = 0;

    // Hand-over state: clones below `introCount` are admitted to the next
    // picture; `loadTarget` 0 fills the second set next, 1 the first;
    // `secondSetReady` 1 while the second set holds the next picture.
    vb::Integer introCount = 0;
    vb::Integer loadTarget = 0;
    vb::Integer secondSetReady = 0;

private:
    // Effects that pace their own changes: may admit more clones, or ask for
    // the next picture (true).
    bool handOverPacing(bool secondSetOnShow);

    const settings::Values& values_;
    platform::RandomSource& random_;
    BackBuffer& buffer_;
    settings::Effect effect_;
};

}  // namespace display
