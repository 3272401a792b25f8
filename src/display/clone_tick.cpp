// The clone tick: every clone re-enters when off screen, moves one step, is
// copied to the back buffer from the picture set it shows, and takes its
// next stage and heading. Timer1 runs it while the first set is on show,
// Timer5 while the second is; a picture change passes the clones one by one
// from the set on show to the other.
#include "display/form1.h"

#include "display/clamped_integer.h"

#include "platform/vb.h"

namespace display {

void Form1::Timer1_Timer() { cloneTick(false); }
void Form1::Timer5_Timer() { cloneTick(true); }

void Form1::cloneTick(bool underTimer5) {
    if (keepTrails == 0) Cls();
    const int n = vb::CInt(vb::CDbl(settings_.ClonesOfImage));
    // The set a clone shows before and after the hand-over under this timer.
    DisplayArray& onShow = underTimer5 ? secDisplay_ : firstDisplay_;
    DisplayArray& next = underTimer5 ? firstDisplay_ : secDisplay_;
    const int16_t passedSet = underTimer5 ? 0 : 1;
    const int16_t readyWhen = underTimer5 ? 0 : 1;

    for (int index = 0; index <= n; ++index) {
        cloneIndex = vb::Integer(int16_t(index));
        const size_t i = size_t(index);
        env_.random->Randomize();
        float w = float(ScaleWidth());
        float h = float(ScaleHeight());

        if (cloneX[i] > w || cloneY[i] > h || cloneY[i] < 0 || cloneX[i] < 0) {
            cloneStage[i] = effect_.shrinksClones() ? 1 : 12;
            w = float(ScaleWidth());
            h = float(ScaleHeight());
            if (!effect_.circlesTheCentre()) {
                cloneX[i] = vb::CInt(vb::Int(float(env_.random->Rnd() * w)));
                cloneY[i] = vb::CInt(vb::Int(float(env_.random->Rnd() * h)));
            } else {
                // Vortex clones come back inside the central box.
                const double r = env_.random->Rnd();
                cloneX[i] = vb::CInt(vb::Int(double(w) * 0.35 * r + double(w) * 0.25));
                const double r2 = env_.random->Rnd();
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
        BitBlt(cloneX[i], cloneY[i], member.pixelWidth(), member.pixelHeight(), member.Image());
        if (passesNow) cloneSet[i] = passedSet;
        if (passed && effect_.pacesItsOwnChanges() && vb::CDbl(settings_.newTotal) > 1) handOverPacing(underTimer5);

        if (effect_.shrinksClones()) RecedeClone();
        else ApproachClone();
    }
    Refresh();
}

// Psychedelic, Jumping Beans and Splat! pace their own hand-over: each re-entry of clone 0
// after it has passed may admit more clones, and once enough have passed
// the next picture is asked for. Timer5 runs slower than Timer1.
void Form1::handOverPacing(bool underTimer5) {
    const double clones = vb::CDbl(settings_.ClonesOfImage);
    const double changeNext = vb::CDbl(settings_.ChangeNextImage);
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

    if (clones + (underTimer5 ? 10 : 5) <= introCount) {
        loadTarget = underTimer5 ? 0 : 1;
        timer4_.setEnabled(true);
    } else if (changeNext == 3 && cloneStage[0] == 12) {
        if (underTimer5) countTo(3);
        else addIntroImageAmount();
    } else if (changeNext == 2 && cloneStage[0] == 12) {
        countTo(underTimer5 ? 6 : 2);
    } else if (changeNext == 1 && cloneStage[0] == 12) {
        countTo(underTimer5 ? 9 : 4);
    }
}

}  // namespace display
