#include "display/clone_field.h"

#include "display/clamped_integer.h"
#include "runtime/vb.h"

namespace display {

void CloneField::placeClones() {
    const int32_t last = vb::CLng(values_.cloneCount - 1);
    if (last < 0) vb::Raise(vb::kSubscriptOutOfRange);
    // The clone loop counts in 16 bits; refuse before sizing anything.
    if (last > 32767) vb::Raise(vb::kOverflow);
    for (auto* array : {&cloneX, &cloneY, &cloneDX, &cloneDY, &cloneStage, &cloneSet, &vortexPhase})
        array->assign(size_t(last) + 1, vb::Integer(0));
    const int n = vb::CInt(values_.cloneCount - 1);
    for (int i = 0; i <= n; ++i) {
        cloneX[size_t(i)] = -1;
        cloneY[size_t(i)] = -1;
        cloneDX[size_t(i)] = 0;
        cloneDY[size_t(i)] = 0;
        cloneStage[size_t(i)] = 12;
        cloneSet[size_t(i)] = 0;
        if (effect_.circlesTheCentre()) vortexPhase[size_t(i)] = 0;
    }
    cloneIndex = vb::Integer::FromLong(int64_t(n) + 1);
}

bool CloneField::tick(bool secondSetOnShow) {
    if (keepTrails == 0) buffer_.Cls();
    bool nextPictureWanted = false;
    const int n = vb::CInt(values_.cloneCount - 1);
    // The set a clone shows before and after the hand-over.
    DisplayArray& onShow = secondSetOnShow ? secondSet : firstSet;
    DisplayArray& next = secondSetOnShow ? firstSet : secondSet;
    const int16_t passedSet = secondSetOnShow ? 0 : 1;
    const int16_t readyWhen = secondSetOnShow ? 0 : 1;

    for (int index = 0; index <= n; ++index) {
        cloneIndex = vb::Integer(int16_t(index));
        const size_t i = size_t(index);
        random_.Randomize();
        float w = float(buffer_.size().width());
        float h = float(buffer_.size().height());

        if (cloneX[i] > w || cloneY[i] > h || cloneY[i] < 0 || cloneX[i] < 0) {
            cloneStage[i] = effect_.shrinksClones() ? 1 : 12;
            w = float(buffer_.size().width());
            h = float(buffer_.size().height());
            if (motion) {
                motion->enter(*this, i);
            } else if (!effect_.circlesTheCentre()) {
                cloneX[i] = vb::CInt(vb::Int(float(random_.Rnd() * w)));
                cloneY[i] = vb::CInt(vb::Int(float(random_.Rnd() * h)));
            } else {
                // Vortex clones come back inside the central box.
                const double r = random_.Rnd();
                cloneX[i] = vb::CInt(vb::Int(double(w) * 0.35 * r + double(w) * 0.25));
                const double r2 = random_.Rnd();
                cloneY[i] = vb::CInt(vb::Int(double(h) * 0.35 * r2 + double(h) * 0.25));
            }
            AimClone(stageStep[effect_.shrinksClones() ? 11 : 0]);
        }

        // A step that would carry a clone past the 16-bit range leaves it at
        // the end of the range: far off screen, so it re-enters next tick.
        cloneX[i] = ClampedInteger(double(cloneX[i]) + double(cloneDX[i]));
        cloneY[i] = ClampedInteger(double(cloneY[i]) + double(cloneDY[i]));

        // A clone admitted to the next picture has passed already, or passes
        // now when it is at stage 12 and the other set is ready.
        const int stage = cloneStage[i];
        const bool admitted = index < introCount;
        const bool passed = admitted && cloneSet[i] == passedSet;
        const bool passesNow = !passed && admitted && stage == 12 && secondSetReady == readyWhen;
        const platform::PictureBox& member = (passed || passesNow ? next : onShow)[size_t(stage - 1)];
        buffer_.BitBlt(cloneX[i], cloneY[i], member.pixelWidth(), member.pixelHeight(), member.Image());
        if (passesNow) cloneSet[i] = passedSet;
        if (passed && effect_.pacesItsOwnChanges() && values_.pictureCount > 1)
            nextPictureWanted = handOverPacing(secondSetOnShow) || nextPictureWanted;

        if (effect_.shrinksClones())
            RecedeClone();
        else
            ApproachClone();
    }
    return nextPictureWanted;
}

// Psychedelic, Jumping Beans and Splat! pace their own hand-over: each
// re-entry of clone 0 after it has passed may admit more clones, and once
// enough have passed the next picture is asked for. The hand-over back to
// the first set goes slower than the one to the second.
bool CloneField::handOverPacing(bool secondSetOnShow) {
    const double clones = values_.cloneCount - 1;
    const double changeNext = values_.changeFrequency;
    // The counter is shared by both timers and carried across changes; a
    // count at or past the threshold counts as reaching it, so a counter left
    // high by one timer cannot stall the other's hand-over for good.
    auto countTo = [&](int threshold) {
        pacingCounter = pacingCounter + 1;
        if (pacingCounter >= threshold) {
            addIntroImageAmount();
            pacingCounter = 1;
        }
    };

    if (clones + (secondSetOnShow ? 10 : 5) <= introCount) {
        loadTarget = secondSetOnShow ? 0 : 1;
        return true;
    }
    if (changeNext == 3 && cloneStage[0] == 12) {
        if (secondSetOnShow)
            countTo(3);
        else
            addIntroImageAmount();
    } else if (changeNext == 2 && cloneStage[0] == 12) {
        countTo(secondSetOnShow ? 6 : 2);
    } else if (changeNext == 1 && cloneStage[0] == 12) {
        countTo(secondSetOnShow ? 9 : 4);
    }
    return false;
}

// How each clone grows or shrinks and where it heads: the stage steps of
// the effect's profile, Vortex's circling, Jumping Beans' random jumps.
void CloneField::ApproachClone() {
    const size_t i = size_t(cloneIndex.value());
    const int k = cloneStage[i];
    if (effect_.circlesTheCentre()) {
        // Vortex: stage and heading change on every third tick only.
        if (vortexPhase[i] == 2) {
            if (k == 1) {
                AimClone(stageStep[11]);
            } else if (k >= 2 && k <= 12) {
                AimClone(stageStep[size_t(12 - k)]);
                cloneStage[i] = vb::Integer(int16_t(k - 1));
            }
            vortexPhase[i] = 0;
        } else {
            vortexPhase[i] = vortexPhase[i] + 1;
        }
        return;
    }
    if (k == 1) {
        AimClone(stageStep[11]);
        // Deck of Cards starts a new stack after its largest copy.
        if (effect_ == settings::Effect::DeckOfCards) cloneStage[i] = 12;
    } else if (k >= 2 && k <= 12) {
        AimClone(stageStep[size_t(12 - k)]);
        cloneStage[i] = vb::Integer(int16_t(k - 1));
    }
}

void CloneField::RecedeClone() {
    const size_t i = size_t(cloneIndex.value());
    const int k = cloneStage[i];
    if (k >= 1 && k <= 11) {
        AimClone(stageStep[size_t(12 - k)]);
        cloneStage[i] = vb::Integer(int16_t(k + 1));
    } else if (k == 12) {
        AimClone(stageStep[0]);
    }
}

void CloneField::AimClone(const vb::Integer& step) {
    const size_t i = size_t(cloneIndex.value());
    if (motion) {
        motion->aim(*this, i, step);
        return;
    }
    random_.Randomize();
    const int x = cloneX[i];
    const int y = cloneY[i];
    const float w = float(buffer_.size().width());
    const float h = float(buffer_.size().height());
    const float halfW = float(double(w) / 2);
    const float halfH = float(double(h) / 2);

    if (effect_ == settings::Effect::JumpingBeans) {
        // Jumping Beans: a fresh random step every tick, drifting left.
        const double s = values_.jumpingSpeed;
        cloneDX[i] = ClampedInteger(vb::Int((2 * s - 10) * random_.Rnd()) - s);
        cloneDY[i] = ClampedInteger(vb::Int(2 * s * random_.Rnd()) - s);
        return;
    }
    if (effect_.circlesTheCentre()) {
        // Vortex: fixed vectors that carry the clone clockwise round the centre.
        if (x >= 0 && y >= 0 && x < halfW && y < halfH) {
            cloneDX[i] = 15;
            cloneDY[i] = -20;
        } else if (x >= halfW && y >= 0 && y < halfH && x <= w) {
            cloneDX[i] = 20;
            cloneDY[i] = 15;
        } else if (x < halfW && x >= 0 && y >= halfH && y < h) {
            cloneDX[i] = -20;
            cloneDY[i] = -15;
        } else {
            cloneDX[i] = -15;
            cloneDY[i] = 20;
        }
        return;
    }
    // Every other effect heads diagonally away from the centre. The step is
    // negated: -32768 turns into 32767.
    const vb::Integer s = step;
    const vb::Integer minusS = ClampedInteger(-double(s));
    if (x < halfW && x >= 0 && y >= 0 && y < halfH) {
        cloneDX[i] = minusS;
        cloneDY[i] = minusS;
    } else if (x >= halfW && y >= 0 && x <= w && y < halfH) {
        cloneDX[i] = s;
        cloneDY[i] = minusS;
    } else if (x < halfW && x >= 0 && y >= halfH && y < h) {
        cloneDX[i] = minusS;
        cloneDY[i] = s;
    } else {
        cloneDX[i] = s;
        cloneDY[i] = s;
    }
}

void CloneField::setUpProfile() {
    using settings::Effect;
    // Step lengths by slot: slot s is the step on leaving stage 12 - s.
    auto setSteps = [&](std::array<int, kStageCount> steps) {
        for (size_t s = 0; s < steps.size(); ++s) stageStep[s] = vb::Integer(int16_t(steps[s]));
    };
    if (effect_ == Effect::Glidorama) {
        keepTrails = 0;
        setSteps({0, 0, 0, 0, 0, 4, 12, 48, 48, 48, 48, 48});
    } else if (effect_ == Effect::Warp) {
        keepTrails = 0;
        setSteps({81, 27, 9, 3, 0, 0, 0, 0, 0, 0, 0, 0});
    } else if (effect_ == Effect::Psychedelic) {
        keepTrails = -1;
        setSteps({});
        stageStep[11] = vb::CInt(values_.psychedelicSpeed.value());
    } else if (effect_ == Effect::DeckOfCards) {
        keepTrails = -1;
        setSteps({});
        stageStep[11] = vb::CInt(values_.deckSpeed.value());
    } else if (effect_ == Effect::JumpingBeans || effect_ == Effect::Vortex) {
        keepTrails = 0;
        setSteps({});
    } else if (effect_ == Effect::Splat) {
        keepTrails = 0;
        setSteps({});
        stageStep[11] = vb::CInt(values_.splatSpeed.value());
        pacingCounter = 1;
    }
}

CloneField::ScheduleResult CloneField::scheduleTick() {
    if (effect_.changesOnSchedule()) {
        const bool allIntroduced = introCount >= values_.cloneCount;
        if (allIntroduced && loadTarget == 0) {
            loadTarget = 1;
            return ScheduleResult::LoadNextPicture;
        }
        if (allIntroduced && loadTarget == 1) {
            loadTarget = 0;
            return ScheduleResult::LoadNextPicture;
        }
        addIntroImageAmount();
    } else if (effect_.pacesItsOwnChanges()) {
        // These effects pace their changes from the clone tick; this first
        // tick only lets the changes begin.
        introCount = 1;
        return ScheduleResult::StopScheduling;
    }
    return ScheduleResult::Nothing;
}

void CloneField::addIntroImageAmount() {
    // A sum past the 16-bit range stays at its end instead of stopping the
    // saver: a huge amount then admits every clone at once, a negative one
    // never admits any.
    const double sum = values_.clonesPerAdmission + introCount.value();
    introCount = ClampedInteger(sum);
}

void CloneField::pictureLoaded() {
    secondSetReady = loadTarget == 0 ? 1 : 0;
    introCount = effect_.pacesItsOwnChanges() ? 1 : 0;
}

}  // namespace display
