// How each clone grows or shrinks and where it heads, and the effect
// profiles that make the seven clone effects look different.
#include "display/form1.h"

#include "display/clamped_integer.h"
#include "platform/vb.h"

namespace display {

void Form1::ApproachClone() {
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

void Form1::RecedeClone() {
    const size_t i = size_t(cloneIndex.value());
    const int k = cloneStage[i];
    if (k >= 1 && k <= 11) {
        AimClone(stageStep[size_t(12 - k)]);
        cloneStage[i] = vb::Integer(int16_t(k + 1));
    } else if (k == 12) {
        AimClone(stageStep[0]);
    }
}

void Form1::AimClone(const vb::Integer& step) {
    const size_t i = size_t(cloneIndex.value());
    env_.random->Randomize();
    const int x = cloneX[i];
    const int y = cloneY[i];
    const float w = float(ScaleWidth());
    const float h = float(ScaleHeight());
    const float halfW = float(double(w) / 2);
    const float halfH = float(double(h) / 2);

    if (effect_ == settings::Effect::JumpingBeans) {
        // Jumping Beans: a fresh random step every tick, drifting left.
        const double s = vb::CDbl(settings_.SpeedofJump);
        cloneDX[i] = ClampedInteger(vb::Int((2 * s - 10) * env_.random->Rnd()) - s);
        cloneDY[i] = ClampedInteger(vb::Int(2 * s * env_.random->Rnd()) - s);
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

// The timers and profile of the chosen effect; a mode that names no effect
// starts nothing, so only the background shows.
void Form1::setUpEffect() {
    using settings::Effect;
    if (effect_ == Effect::Float) {
        timer2_.setInterval(250);
        timer2_.setEnabled(true);
        const double speed = vb::CDbl(settings_.floatImageSpeed);
        if (speed == 1) timer3_.setInterval(200);
        else if (speed == 2) timer3_.setInterval(150);
        else if (speed == 3) timer3_.setInterval(100);
        else if (speed == 4) timer3_.setInterval(50);
        else if (speed == 5) timer3_.setInterval(1);
        return;
    }
    if (!effect_.isCloneEffect()) return;

    if (effect_.changesOnSchedule() && !vb::CBool(settings_.NeverChange) && vb::CDbl(settings_.newTotal) > 1) {
        timer2_.setInterval(vb::CLng(vb::CDbl(settings_.NextImageTime) * 1000));
        timer2_.setEnabled(true);
    }
    timer1_.setEnabled(true);
    timer1_.setInterval(vb::CLng(vb::CDbl(settings_.imageSpeed)));
    timer5_.setInterval(vb::CLng(vb::CDbl(settings_.imageSpeed)));
    if (effect_.pacesItsOwnChanges() && vb::CDbl(settings_.newTotal) > 1 && vb::CDbl(settings_.ChangeNextImage) != 0) {
        timer2_.setInterval(5000);
        timer2_.setEnabled(true);
    }

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
        stageStep[11] = vb::CInt(vb::CDbl(settings_.PsychGradient));
    } else if (effect_ == Effect::DeckOfCards) {
        keepTrails = -1;
        setSteps({});
        stageStep[11] = vb::CInt(vb::CDbl(settings_.DeckGradient));
    } else if (effect_ == Effect::JumpingBeans || effect_ == Effect::Vortex) {
        keepTrails = 0;
        setSteps({});
    } else if (effect_ == Effect::Splat) {
        keepTrails = 0;
        setSteps({});
        stageStep[11] = vb::CInt(vb::CDbl(settings_.SpeedofSplat));
        pacingCounter = 1;
    }
}

}  // namespace display
