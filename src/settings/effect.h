// The effect the saver shows, parsed from the "mode" text of the settings
// file. The stored text is a number: 0 to kCount - 1 name the effects, any
// other number (a fraction, a number past the last, -1) names none, so the
// display then starts nothing and only the background shows.
#pragma once

#include <QLatin1String>
#include <QString>

namespace settings {

class Effect {
public:
    // The number each effect is stored as.
    enum Kind {
        None = -1,
        Glidorama = 0,
        Float = 1,
        Warp = 2,
        Psychedelic = 3,
        DeckOfCards = 4,
        JumpingBeans = 5,
        Vortex = 6,
        Splat = 7,
        // A new effect takes the next number here.
        kEnd
    };
    static constexpr int kCount = kEnd;

    constexpr Effect(Kind kind = None) : kind_(kind) {}

    // The effect a stored text names. Text that is not a number raises
    // error 13, as every other conversion of a settings value does.
    static Effect FromText(const QString& text);
    // The effect a stored text names, None for text that is not a number.
    static Effect Stored(const QString& text);
    // Whether the stored text names `kind`; text that is not a number names none.
    static bool TextIs(const QString& text, Kind kind);
    // The effect stored as `number`, None outside 0 to kCount - 1.
    static Effect FromNumber(int number);

    Kind kind() const { return kind_; }
    bool operator==(Kind kind) const { return kind_ == kind; }
    bool operator==(const Effect&) const = default;

    // The effects drawn by clones of the picture: all but Float.
    bool isCloneEffect() const { return kind_ != None && kind_ != Float; }
    // Glidorama, Warp, Deck of Cards, Vortex and any clone effect added
    // after Splat!: the change scheduler admits clones to the next picture
    // every "NextImageTime" seconds.
    bool changesOnSchedule() const { return isCloneEffect() && !pacesItsOwnChanges(); }
    // Psychedelic, Jumping Beans and Splat!: the clone tick itself admits
    // clones to the next picture, at the "ChangeNextImage" pace; the
    // scheduler only starts it.
    bool pacesItsOwnChanges() const { return kind_ == Psychedelic || kind_ == JumpingBeans || kind_ == Splat; }
    // Warp: clones enter at the largest stage and shrink as they fly out,
    // where every other clone effect grows them from the smallest.
    bool shrinksClones() const { return kind_ == Warp; }
    // Vortex: clones re-enter inside the central box and circle the centre,
    // changing stage on every third tick only.
    bool circlesTheCentre() const { return kind_ == Vortex; }

private:
    Kind kind_;
};

}  // namespace settings
