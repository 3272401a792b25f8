#include "display/float_animation.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <thread>

#include "support/temp_app_folder.h"

using testing_support::TestEnvironment;

namespace {

struct FloatAnimationFixture : ::testing::Test {
    TestEnvironment t;
    settings::Values s;
    std::vector<QString> files;

    FloatAnimationFixture() {
        s.pictureCount = 2;
        s.changeInterval = 1;
        s.floatStill = 0;
        s.floatSpeed = 5;
        s.floatTransition = 1;
        s.backgroundColor = 0xFF0000;  // blue, as 0x00BBGGRR
        for (int i = 0; i < 2; ++i) {
            QImage image(40 + 20 * i, 30, QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 5, y * 7, 100 * i));
            files.push_back(t.folder.file(QStringLiteral("p%1.png").arg(i)));
            image.save(files.back());
        }
        files.push_back(QString());
    }
    // Ticks at `now`, once the worker has decoded what it is decoding: the
    // fake clock runs far ahead of it.
    static void TickAt(display::FloatAnimation& animation, double now) {
        while (!animation.show().prefetch().ready()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        animation.tick(now);
    }
    static QImage Painted(const display::Animation& animation) {
        QImage frame(animation.size(), QImage::Format_RGB32);
        QPainter painter(&frame);
        animation.paint(painter, QRect(QPoint(0, 0), animation.size()));
        return frame;
    }
};

}  // namespace

// A window shows each frame by moving what it shows where the damage says
// so and painting only the damaged area: after every tick that must be the
// frame painted whole, through changes, transitions, motion and bounces.
TEST_F(FloatAnimationFixture, FramesShownFromTheirDamageAloneMatchFramesPaintedWhole) {
    display::FloatAnimation animation(s, t.env, QSize(120, 90), files);
    QImage screen(animation.size(), QImage::Format_RGB32);
    screen.fill(Qt::black);
    int moves = 0;
    double now = 5000;  // the display's own clock, whatever the program's
    for (int frame = 0; frame < 250; ++frame, now += 16) {
        TickAt(animation, now);
        const display::Damage damage = animation.takeDamage();
        QPainter painter(&screen);
        if (!damage.scrollBy.isNull()) {
            ++moves;
            const QImage before = screen.copy(damage.scrolled);
            painter.setClipRect(damage.scrolled);
            painter.drawImage(damage.scrolled.topLeft() + damage.scrollBy, before);
            painter.setClipping(false);
        }
        animation.paint(painter, damage.region);
        painter.end();
        ASSERT_EQ(screen, Painted(animation)) << "frame " << frame;
    }
    EXPECT_GT(moves, 50);  // most motion steps are moves, not paints
    EXPECT_EQ(animation.show().floatImageIndex(), 2);
}

TEST_F(FloatAnimationFixture, APictureThatFailsIsReportedOnceAndTheShowPassesOverIt) {
    ASSERT_TRUE(QFile::remove(files[0]));
    display::FloatAnimation animation(s, t.env, QSize(120, 90), files);
    double now = 5000;
    QStringList failures;
    for (int frame = 0; frame < 160; ++frame, now += 16) {
        try {
            TickAt(animation, now);
        } catch (const display::Failure& failure) {
            failures << failure.message;
        }
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(files[0] + "\r\ndoes not exist!"));
    // The next change, a second on, shows the next picture.
    EXPECT_EQ(animation.pictureArea().size(), QSize(60, 30));
    EXPECT_EQ(animation.show().floatImageIndex(), 2);
}
