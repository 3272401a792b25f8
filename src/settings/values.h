// The settings of one run as values: the settings file read once, each key
// converted by the rules its uses have always applied, and shared read-only
// by every display of the run. The text form (`Settings`) stays with the
// dialog, which shows it and writes it back.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "settings/profile.h"
#include "settings/effect.h"

namespace settings {

// A number whose key keeps a text that does not convert: the display reports
// such a value at the start-up step that first uses it, so the error (13,
// type mismatch) is raised there, by value(), not when the file is read.
class Number {
public:
    Number() = default;  // unusable
    Number(double value) : value_(value) {}
    // The number; raises error 13 when the file's text did not convert.
    double value() const;
    bool usable() const { return value_.has_value(); }
    bool operator==(const Number&) const = default;

private:
    std::optional<double> value_;
};

struct Values {
    // "mode": the effect; a number that names none gives Effect::None.
    Effect effect;
    // "newTotal": how many pictures the list holds (not always whole in a
    // hand-edited file: each use rounds as it needs).
    double pictureCount = 0;
    // The picture list, by full path: keys "0" to newTotal - 1 of [images],
    // a missing key replaced by the bundled sample at its position.
    QStringList pictures;
    // "ClonesOfImage": how many clones fly at once (the count, not the last index).
    double cloneCount = 0;
    // "imageSpeed": the clone ticks' interval in milliseconds.
    Number cloneSpeed;
    // The own speeds of Splat!, Jumping Beans, Deck of Cards and Psychedelic
    // ("SpeedofSplat", "SpeedofJump", "DeckGradient", "PsychGradient").
    Number splatSpeed;
    double jumpingSpeed = 0;
    Number deckSpeed;
    Number psychedelicSpeed;
    // "NextImageTime": seconds between picture changes.
    double changeInterval = 0;
    // "IntroImageAmount": how many more clones each admission hands to the next picture.
    double clonesPerAdmission = 0;
    // "NeverChange": the picture never changes.
    bool neverChange = false;
    // "ChangeNextImage": how often the effects that pace their own changes
    // change the picture (0 never to 3 often).
    double changeFrequency = 0;
    // "mouseSensitivity": how many counted mouse moves end the saver.
    double mouseSensitivity = 0;
    // "newBackColor": the background, as a Windows colour value (0x00BBGGRR).
    int64_t backgroundColor = 0;
    // "shuffle" is 1: the pictures come in a random order, each once a round.
    bool shuffle = false;

    // Float. "effectMode": the transition between pictures (its number).
    double floatTransition = 0;
    // "randomEffect" is 1: a random transition at each change.
    bool randomTransitions = false;
    // "centerImage": 1 holds the picture still in the middle, 0 lets it
    // float; any other number does neither.
    double floatStill = 0;
    // "floatImageSpeed": the motion speed, 1 (slow) to 5 (fast).
    double floatSpeed = 0;
    // "fitToScreen" is not 0: pictures larger than the screen shrink to fit it.
    bool fitToScreen = true;
    // "PictureSize": the picture scale in per cent (100, 150 or 200); 0 for
    // "Automatic", each monitor's height over 1080 and never below 1.
    int pictureScalePercent = 0;

    // "saverPassword" and "saverEnabled" (is 1): the password and whether it
    // protects the saver.
    QString password;
    bool passwordEnabled = false;
};

// Reads every key from `file`. A key that is missing, or whose text the run
// could not use, takes its built-in default; the speeds held as `Number`
// fall back only when missing. `samplesHome` is the folder whose "samples"
// stand in for missing picture entries.
Values ReadValues(const platform::ProfileFile& file, const QString& samplesHome);
// The same from the settings file in `settingsFolder`, parsed once.
Values ReadValues(const QString& settingsFolder, const QString& samplesHome);

}  // namespace settings
