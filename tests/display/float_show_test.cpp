#include "display/float_show.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <thread>

#include "runtime/picture_box.h"
#include "support/temp_app_folder.h"
#include "support/test_pictures.h"

using platform::PictureBox;
using platform::ScaleMode;
using testing_support::TestEnvironment;

namespace {

// The display form as the Float effect sees it, recording what happens.
class RecordingHost final : public display::FloatHost {
public:
    RecordingHost() {
        for (PictureBox* box : {&first, &second}) {
            box->setOwnerScale(ScaleMode::Twips);
            box->setScaleMode(ScaleMode::Pixels);
        }
    }
    PictureBox& FirstPicture() override { return first; }
    PictureBox& SecondPicture() override { return second; }
    double ScreenWidth() const override { return screenWidth; }
    double ScreenHeight() const override { return screenHeight; }
    void presentPictures() override { ++presents; }
    void failAndEnd(const QString& message) override { failures << message; }

    PictureBox first, second;
    double screenWidth = 800 * 15;
    double screenHeight = 600 * 15;
    int presents = 0;
    QStringList failures;
};

const QRgb kColours[] = {qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200)};

struct FloatFixture : ::testing::Test {
    TestEnvironment t;
    settings::Values s;
    RecordingHost host;
    std::vector<QString> files;
    // Runs before each step of a change after the first.
    std::function<void()> betweenSteps;

    FloatFixture() {
        s.pictureCount = 3;
        s.changeInterval = 5;
        s.neverChange = false;
        s.floatStill = 1;
        s.floatTransition = 0;
        s.randomTransitions = false;
        s.floatSpeed = 3;
        for (int i = 0; i < 3; ++i) files.push_back(makePicture(i, 40 + 10 * i, 30));
        files.push_back(QString());  // the list runs 0 to newTotal, the last one empty
    }
    QString makePicture(int i, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(kColours[i % 3]);
        const QString path = t.folder.file(QStringLiteral("p%1.png").arg(i));
        image.save(path);
        return path;
    }
    // A scheduler tick and every step of the change it starts, each taken
    // when it is due on the fixed clock.
    void changeTick(display::FloatShow& show) {
        show.Timer2Tick();
        while (const std::optional<double> due = show.nextStepAt()) {
            t.clock.elapsed = std::max(t.clock.elapsed, *due);
            // Give a worker still decoding the picture a moment.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            if (betweenSteps) betweenSteps();
            show.StepTick(t.clock.elapsed);
        }
    }
    // The picture on show, told by its colour.
    int shown() const {
        const QImage& image = host.first.Image();
        if (image.isNull() || image.width() < 2) return -1;
        for (int i = 0; i < 3; ++i)
            if (image.pixel(0, 0) == kColours[i]) return i;
        return -1;
    }
};

}  // namespace

TEST(FloatCentre, WiderThanTheScreenGoesNegativeTruncatingTowardZero) {
    EXPECT_EQ(display::CenteredPosition(9600, 12001), -1200);
    EXPECT_EQ(display::CenteredPosition(9600, 4800), 2400);
    EXPECT_EQ(display::CenteredPosition(9000, 8985), 7);  // 15 \ 2
}

TEST_F(FloatFixture, CentredWithoutChangeShowsTheFirstPictureOnceAndStopsTheScheduler) {
    s.neverChange = true;
    display::FloatShow show(s, t.env, host, files);
    show.changeScheduler().setEnabled(true);
    changeTick(show);
    EXPECT_EQ(shown(), 0);
    EXPECT_FALSE(show.changeScheduler().Enabled());
    EXPECT_FALSE(show.floatMotion().Enabled());
    EXPECT_EQ(host.first.Left(), display::CenteredPosition(host.screenWidth, 40 * 15));
    EXPECT_EQ(host.first.Top(), display::CenteredPosition(host.screenHeight, 30 * 15));
    EXPECT_TRUE(host.first.Visible());
}

TEST_F(FloatFixture, PicturesComeInListOrderAndWrapAfterTheLast) {
    display::FloatShow show(s, t.env, host, files);
    show.changeScheduler().setEnabled(true);
    std::vector<int> order;
    for (int i = 0; i < 4; ++i) {
        changeTick(show);
        order.push_back(shown());
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(show.floatImageIndex(), 1);
    EXPECT_EQ(show.changeScheduler().Interval(), 5000);
    EXPECT_TRUE(show.changeScheduler().Enabled());
    EXPECT_FALSE(show.floatMotion().Enabled());  // centred pictures never float
    EXPECT_TRUE(host.failures.isEmpty());
    // Each picture after the first was decoded ahead of its turn and used.
    EXPECT_GE(show.prefetch().used(), 3);
}

TEST_F(FloatFixture, FloatingChangesReseedAndDrawADiagonalDirection) {
    s.floatStill = 0;
    t.random = platform::SequenceRandom{0.7f, 0.2f};
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    EXPECT_EQ(t.random.randomizeCalls, 1);
    EXPECT_EQ(show.floatStepX(), -15);  // Int(1.4) = 1
    EXPECT_EQ(show.floatStepY(), 15);   // Int(0.4) = 0
    EXPECT_TRUE(show.floatMotion().Enabled());
    EXPECT_EQ(shown(), 0);

    s.neverChange = true;
    RecordingHost other;
    display::FloatShow once(s, t.env, other, files);
    once.changeScheduler().setEnabled(true);
    changeTick(once);
    EXPECT_EQ(t.random.randomizeCalls, 1);  // not reseeded on this path
    EXPECT_TRUE(once.floatMotion().Enabled());
    EXPECT_FALSE(once.changeScheduler().Enabled());
}

TEST_F(FloatFixture, TicksRunTheSchedulerTheMotionAndTheChangeStepsEachAtItsTime) {
    s.floatStill = 0;
    s.floatSpeed = 4;  // 50 ms, a step every 62.5 ms
    display::FloatShow show(s, t.env, host, files);
    while (!show.prefetch().ready()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double start = t.clock.elapsed;
    show.start(start);
    // Ticks at each time the show asks for, as a display does, up to `until`.
    double next = show.tick(start);
    const auto runUntil = [&](double until) {
        while (next <= until) next = show.tick(next);
    };
    EXPECT_DOUBLE_EQ(next, start + 0.25);  // the first change
    runUntil(start + 0.25);
    // It hides the picture at once and starts the motion; the picture comes back after its pause.
    EXPECT_FALSE(host.first.Visible());
    EXPECT_DOUBLE_EQ(next, start + 0.3125);
    const int before = host.presents;
    runUntil(start + 0.56);
    EXPECT_EQ(host.presents - before, 4 + 1);  // four motion steps, then the picture
    EXPECT_TRUE(host.first.Visible());
    EXPECT_EQ(shown(), 0);
    // The scheduler counts NextImageTime afresh from the end of the change.
    EXPECT_NEAR(show.changeScheduler().due(), start + 5.55, 1e-9);
    // After a stall the motion takes one step late and goes on from there.
    show.tick(start + 2);
    EXPECT_EQ(host.presents - before, 4 + 1 + 2);
    EXPECT_DOUBLE_EQ(show.floatMotion().due(), start + 2.0625);
}

TEST_F(FloatFixture, StandardChangeHidesThePictureForThreeTenthsOfASecond) {
    display::FloatShow show(s, t.env, host, files);
    const double before = t.clock.elapsed;
    bool hiddenBetweenSteps = true;
    betweenSteps = [&] { hiddenBetweenSteps = hiddenBetweenSteps && !host.first.Visible(); };
    changeTick(show);
    EXPECT_TRUE(hiddenBetweenSteps);
    EXPECT_GE(t.clock.elapsed - before, 0.3 - 1e-9);
    EXPECT_TRUE(host.first.Visible());
}

TEST_F(FloatFixture, ATickDuringAChangeDoesNotStartAnother) {
    for (const double effect : {0, 3}) {
        s.floatTransition = effect;
        RecordingHost h;
        display::FloatShow show(s, t.env, h, files);
        int ticksBetweenSteps = 0;
        betweenSteps = [&] {
            ++ticksBetweenSteps;
            EXPECT_TRUE(show.changing());
            show.Timer2Tick();
            show.Timer3Tick();  // the motion carries on meanwhile
        };
        changeTick(show);
        betweenSteps = nullptr;
        EXPECT_GT(ticksBetweenSteps, 0) << effect;
        EXPECT_EQ(show.floatImageIndex(), 1) << effect;
        EXPECT_FALSE(show.changing());
        EXPECT_EQ(h.first.Image().pixel(0, 0), kColours[0]);
        // "Standard" centres the picture after its pause, whatever the motion did meanwhile.
        if (effect == 0) {
            EXPECT_EQ(h.first.Left(), display::CenteredPosition(h.screenWidth, h.first.Width()));
        }
    }
}

TEST_F(FloatFixture, AnimatedChangeIsPacedOverAboutASecond) {
    s.floatTransition = 1;
    display::FloatShow show(s, t.env, host, files);
    std::vector<display::TransitionCopy> copies;
    double firstCopy = 0;
    show.setCopyObserver([&](const display::TransitionCopy& c) {
        if (copies.empty()) firstCopy = t.clock.elapsed;
        copies.push_back(c);
    });
    // While the picture builds up, the box on show is empty at the new size, centred.
    int stepsInTransition = 0;
    betweenSteps = [&] {
        if (copies.empty()) return;
        ++stepsInTransition;
        EXPECT_EQ(host.first.Image().size(), QSize(40, 30));
        EXPECT_TRUE(host.first.Picture().isNull());
        EXPECT_EQ(host.first.Left(), display::CenteredPosition(host.screenWidth, 40 * 15));
        EXPECT_EQ(host.first.Image().pixel(0, 0), kColours[0]);  // the left edge is drawn first
        EXPECT_EQ(host.first.Image().pixel(39, 29) == kColours[0], copies.size() == 40u);
    };
    changeTick(show);
    EXPECT_GT(stepsInTransition, 30);
    EXPECT_EQ(copies.size(), 40u);  // "Left wipe" over 40 pixels
    EXPECT_EQ(copies.back(), (display::TransitionCopy{0, 0, 40, 30}));
    EXPECT_NEAR(t.clock.elapsed - firstCopy, 1.0, 0.05);
    EXPECT_GE(host.presents, 40);
    EXPECT_EQ(host.first.Picture().size(), QSize(40, 30));
    EXPECT_EQ(shown(), 0);
}

TEST_F(FloatFixture, RandomTransitionIsRememberedByTheShowNotTheSettings) {
    s.randomTransitions = true;
    t.random = platform::SequenceRandom{0.5f};
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    EXPECT_EQ(show.transition(), 4);
    EXPECT_EQ(s.floatTransition, 0);
    EXPECT_EQ(shown(), 0);
}

TEST_F(FloatFixture, APictureDeletedAfterItWasDecodedEndsTheSaverAtItsTurn) {
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);  // shows 0 and decodes 1 ahead
    ASSERT_TRUE(QFile::remove(files[1]));
    changeTick(show);
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_EQ(host.failures[0],
              files[1] + "\r\ndoes not exist! Glidorama will\r\nnot function unless a different image is reloaded.");
    // Nothing moves or changes after the end.
    changeTick(show);
    EXPECT_EQ(host.failures.size(), 1);
}

TEST_F(FloatFixture, APictureReplacedAfterItWasDecodedShowsTheNewFile) {
    s.floatTransition = 2;
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    QImage replacement(64, 20, QImage::Format_RGB32);
    replacement.fill(kColours[2]);
    ASSERT_TRUE(replacement.save(files[1], "PNG"));
    changeTick(show);
    EXPECT_TRUE(host.failures.isEmpty());
    EXPECT_EQ(host.first.Picture().size(), QSize(64, 20));
    EXPECT_EQ(shown(), 2);
}

TEST_F(FloatFixture, MotionBouncesBeforeMovingAtTheTopBound) {
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    host.first.setLeft(3000);
    host.first.setTop(600);  // above the 615-twip bound
    show.setFloatSteps(15, -15);
    show.Timer3Tick();
    EXPECT_EQ(show.floatStepY(), 15);
    EXPECT_EQ(host.first.Top(), 615);
    EXPECT_EQ(host.first.Left(), 3015);
    show.Timer3Tick();  // inside the bounds now: no flip
    EXPECT_EQ(show.floatStepY(), 15);
    EXPECT_EQ(host.first.Top(), 630);
    // Right edge: a box whose right side passes the screen turns back.
    host.first.setLeft(host.screenWidth - host.first.Width() + 15);
    show.Timer3Tick();
    EXPECT_EQ(show.floatStepX(), -15);
}

TEST_F(FloatFixture, PictureWiderThanTheScreenFlipsItsHorizontalStepEveryTick) {
    s.fitToScreen = false;  // natural size
    files[0] = makePicture(0, 900, 30);
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    ASSERT_EQ(host.first.Width(), 900 * 15);
    show.setFloatSteps(15, 15);
    const double start = host.first.Left();
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        show.Timer3Tick();
        steps.push_back(show.floatStepX());
    }
    EXPECT_EQ(steps, (std::vector<int>{-15, 15, -15, 15}));
    EXPECT_EQ(host.first.Left(), start);
}

TEST_F(FloatFixture, AChangeTimeTooLongForTheTimerFallsBackToTheBuiltInTime) {
    for (const double seconds : {1e9, -3e6}) {
        s.changeInterval = seconds;
        RecordingHost h;
        display::FloatShow show(s, t.env, h, files);
        show.changeScheduler().setEnabled(true);
        changeTick(show);
        EXPECT_EQ(show.changeScheduler().Interval(), 30000) << seconds;
        EXPECT_TRUE(show.changeScheduler().Enabled());
        EXPECT_EQ(show.floatImageIndex(), 1);
    }
    // The longest time that fits is kept as it is.
    s.changeInterval = 2147483.647;
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    EXPECT_EQ(show.changeScheduler().Interval(), 2147483647);
}

TEST_F(FloatFixture, PictureTallerThanTheRoomBelowTheTopBoundJittersUpAndDown) {
    s.fitToScreen = false;               // natural size
    files[0] = makePicture(0, 40, 570);  // 8550 twips: more than 9000 - 615
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    show.setFloatSteps(15, 15);
    const double start = host.first.Top();
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        show.Timer3Tick();
        steps.push_back(show.floatStepY());
    }
    EXPECT_EQ(steps, (std::vector<int>{-15, 15, -15, 15}));
    EXPECT_EQ(host.first.Top(), start);
    EXPECT_EQ(show.floatStepX(), 15);  // the horizontal motion goes on
}

TEST_F(FloatFixture, AnEmptyEntryClearsThePictureAndTheSaverGoesOn) {
    for (const double effect : {0, 5}) {
        s.floatTransition = effect;
        s.pictureCount = 0;  // no pictures: the list holds one empty entry
        RecordingHost h;
        display::FloatShow show(s, t.env, h, {QString()});
        show.changeScheduler().setEnabled(true);
        changeTick(show);
        changeTick(show);
        EXPECT_TRUE(h.failures.isEmpty()) << effect;
        EXPECT_TRUE(h.first.Picture().isNull()) << effect;
        EXPECT_TRUE(show.changeScheduler().Enabled());
        EXPECT_EQ(show.floatImageIndex(), 1);
    }
    // Within a list, the entry after a picture clears it.
    s.floatTransition = 0;
    s.pictureCount = 2;
    display::FloatShow show(s, t.env, host, {files[0], QString(), QString()});
    changeTick(show);
    EXPECT_EQ(shown(), 0);
    changeTick(show);
    EXPECT_TRUE(host.failures.isEmpty());
    EXPECT_TRUE(host.first.Picture().isNull());
    EXPECT_NE(host.first.Image().pixel(0, 0), kColours[0]);
}

TEST_F(FloatFixture, ShuffledPicturesComeOnceARoundInANewOrderEachRound) {
    // A fixed stream of varied numbers.
    struct Stream final : platform::RandomSource {
        float Rnd() override {
            state = state * 1103515245u + 12345u;
            return float((state >> 8) & 0xFFFF) / 65536.0f;
        }
        void Randomize() override {}
        uint32_t state = 11;
    } stream;
    t.env.random = &stream;
    s.shuffle = true;
    display::FloatShow show(s, t.env, host, files);
    show.changeScheduler().setEnabled(true);
    std::vector<std::vector<int>> rounds(5);
    for (auto& round : rounds) {
        for (int i = 0; i < 3; ++i) {
            changeTick(show);
            round.push_back(shown());
        }
        std::vector<int> sorted = round;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2}));
    }
    EXPECT_GE(std::set<std::vector<int>>(rounds.begin(), rounds.end()).size(), 2u);
    EXPECT_TRUE(host.failures.isEmpty());
}

TEST_F(FloatFixture, APhotoLargerThanTheScreenIsShownWholeAndFloats) {
    host.screenWidth = 1024 * 15;
    host.screenHeight = 768 * 15;
    s.floatStill = 0;
    QImage photo(6000, 4000, QImage::Format_RGB32);
    photo.fill(kColours[1]);
    files[0] = t.folder.file("photo.jpg");
    ASSERT_TRUE(photo.save(files[0], "JPEG"));
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    ASSERT_TRUE(host.failures.isEmpty());
    const double width = host.first.Width(), height = host.first.Height();
    EXPECT_LE(width, host.screenWidth);
    EXPECT_LE(height, host.screenHeight - 615);
    EXPECT_NEAR(width / height, 1.5, 0.01);
    EXPECT_GT(width, host.screenWidth * 0.8);
    // It floats: every position it takes keeps it on the screen, and it moves both ways.
    show.setFloatSteps(15, 15);
    double lowest = host.first.Left(), highest = host.first.Left();
    for (int i = 0; i < 400; ++i) {
        show.Timer3Tick();
        EXPECT_GE(host.first.Left(), -15);
        EXPECT_LE(host.first.Left() + width, host.screenWidth + 15);
        EXPECT_GE(host.first.Top(), 615 - 15);
        EXPECT_LE(host.first.Top() + height, host.screenHeight + 15);
        lowest = std::min(lowest, host.first.Left());
        highest = std::max(highest, host.first.Left());
    }
    EXPECT_GT(highest - lowest, 50 * 15);

    // With the option off the photo keeps its natural size, as it always did.
    s.fitToScreen = false;
    RecordingHost natural;
    display::FloatShow second(s, t.env, natural, files);
    changeTick(second);
    EXPECT_EQ(natural.first.Width(), 6000 * 15);
    EXPECT_EQ(natural.first.Height(), 4000 * 15);
}

TEST_F(FloatFixture, AFileThatIsThereButNoPictureSaysWhy) {
    QFile text(files[1]);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("shopping list\n");
    text.close();
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    changeTick(show);
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_EQ(host.failures[0], files[1] + " is not a picture Glidorama can show. (it is a text file)");
}

TEST_F(FloatFixture, AtNaturalSizeAPictureTooLargeToDecodeSaysSo) {
    s.fitToScreen = false;
    QFile crafted(files[0]);
    ASSERT_TRUE(crafted.open(QIODevice::WriteOnly));
    crafted.write(testing_support::CraftedPng(12000, 9000));
    crafted.close();
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    ASSERT_EQ(host.failures.size(), 1);
    EXPECT_EQ(host.failures[0], files[0] + " is not a picture Glidorama can show. (12000 x 9000 is too large to show)");
}

TEST_F(FloatFixture, TransparentPartsShowTheBackgroundColour) {
    for (PictureBox* box : {&host.first, &host.second}) box->setBackColor(0x00FF00);  // green, as 0x00BBGGRR
    QImage half(40, 30, QImage::Format_ARGB32);
    half.fill(qRgba(255, 0, 0, 128));
    ASSERT_TRUE(half.save(files[0], "PNG"));
    display::FloatShow show(s, t.env, host, files);
    changeTick(show);
    const QRgb pixel = host.first.Picture().pixel(10, 10);
    EXPECT_NEAR(qRed(pixel), 128, 3);
    EXPECT_NEAR(qGreen(pixel), 127, 3);
    EXPECT_EQ(qBlue(pixel), 0);
}
