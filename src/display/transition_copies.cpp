#include "display/transition_copies.h"

#include <cmath>

#include "runtime/vb.h"

namespace display {

namespace {

// The blinds' pitch: every band or column is this many pixels apart.
constexpr float kBlindPitch = 20;

void leftWipe(std::vector<TransitionCopy>& out, float w, float h) {
    for (float v = 1; v <= w; v += 1) out.push_back({0, 0, v, h});
}

void rightWipe(std::vector<TransitionCopy>& out, float w, float h) {
    for (float v = 1; v <= w; v += 1) out.push_back({double(w - v), 0, v, h});
}

// A vertical strip centred across the picture, two pixels wider each step.
void rightLeftWipe(std::vector<TransitionCopy>& out, float w, float h) {
    float strip = 1;
    const vb::Integer height = vb::CInt(double(h));
    const double end = double(w) / 2;
    for (double v = 1; v <= end; v += 1) {
        out.push_back({double(w - strip) / 2, 0, strip, double(height)});
        strip += 2;
    }
}

// A horizontal band centred down the picture, two pixels higher each step.
void upDownWipe(std::vector<TransitionCopy>& out, float w, float h) {
    const float width = w;
    vb::Integer band = 1;
    const double end = double(h) / 2;
    for (double v = 1; v <= end; v += 1) {
        out.push_back({0, double((h - float(band)) / 2.0f), width, double(band)});
        band += 2;
    }
}

// A centred rectangle that starts from the difference between the sides and
// grows by one pixel each way per step.
void centerWipe(std::vector<TransitionCopy>& out, float w, float h) {
    float d = 1;
    vb::Integer e = 1;
    if (w > h) {
        d = w - h;
    } else if (w < h) {
        e = vb::CInt(double(h - w));
    }
    const float end = w - d;
    for (float v = 1; v <= end; v += 1) {
        out.push_back({double(w - d) / 2, double(h - float(e)) / 2, d, double(e)});
        d += 1;
        e += 1;
    }
}

void horizontalBlinds(std::vector<TransitionCopy>& out, float w, float h) {
    const double bands = vb::Fix(double(h / kBlindPitch));
    for (int j = 1; j <= 20; ++j) {
        for (double k = 0; k <= bands; k += 1) out.push_back({0, k * kBlindPitch, w, double(j)});
    }
}

void verticalBlinds(std::vector<TransitionCopy>& out, float w, float h) {
    const float columns = w / kBlindPitch;  // not truncated: the loop runs while k <= columns
    for (int j = 1; j <= 20; ++j) {
        for (float k = 0; k <= columns; k += 1) out.push_back({double(k * kBlindPitch), 0, double(j), h});
    }
}

}  // namespace

std::vector<TransitionCopy> TransitionCopies(double t, float width, float height) {
    std::vector<TransitionCopy> out;
    if (t == kLeftWipe)
        leftWipe(out, width, height);
    else if (t == kRightWipe)
        rightWipe(out, width, height);
    else if (t == kRightLeftWipe)
        rightLeftWipe(out, width, height);
    else if (t == kUpDownWipe)
        upDownWipe(out, width, height);
    else if (t == kCenterWipe)
        centerWipe(out, width, height);
    else if (t == kHorizontalBlinds)
        horizontalBlinds(out, width, height);
    else if (t == kVerticalBlinds)
        verticalBlinds(out, width, height);
    return out;
}

double PickTransition(double transition, bool randomTransitions, platform::RandomSource& random) {
    if (!randomTransitions) return transition;
    random.Randomize();
    const float r = random.Rnd();
    const float pick = r * 7.0f + 1.0f;  // Single arithmetic: 1 <= pick < 8
    return vb::Int(pick);
}

}  // namespace display
