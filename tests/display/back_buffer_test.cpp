#include <gtest/gtest.h>

#include <QPainter>

#include <random>

#include "display/back_buffer.h"

namespace {

QImage solid(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// Clearing only what was drawn, and presenting only what changed, must give
// exactly what clearing everything and presenting everything gives, also
// past the number of copies the buffer keeps track of between clears.
void checkAgainstFullRedraw(bool keepTrails, int clones = 6, int ticks = 300) {
    const QSize size(160, 120);
    const QColor back(10, 20, 30);
    display::BackBuffer buffer;
    buffer.resize(size);
    buffer.setBackColor(back);
    QImage reference(size, QImage::Format_RGB32);
    reference.fill(back);
    QImage screen = reference;  // what has been presented
    std::vector<QImage> pictures = {solid(30, 20, Qt::red), solid(7, 40, Qt::green), solid(0, 5, Qt::blue),
                                    solid(60, 50, Qt::yellow)};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pos(-70, 180);
    for (int tick = 0; tick < ticks; ++tick) {
        if (!keepTrails) {
            buffer.Cls();
            reference.fill(back);
        }
        for (int clone = 0; clone < clones; ++clone) {
            const QImage& p = pictures[size_t(rng() % pictures.size())];
            const int x = pos(rng), y = pos(rng);
            buffer.BitBlt(x, y, p.width(), p.height(), p);
            QPainter painter(&reference);
            painter.drawImage(x, y, p);
        }
        ASSERT_EQ(buffer.image(), reference) << "tick " << tick;
        // Present every few ticks, as frames come less often than ticks.
        if (tick % 3 == 0) {
            const auto changes = buffer.takeChanges();
            QPainter painter(&screen);
            if (changes.all) painter.drawImage(0, 0, buffer.image());
            for (const QRect& r : changes.rects) painter.drawImage(r.topLeft(), buffer.image(), r);
            painter.end();
            ASSERT_EQ(screen, reference) << "tick " << tick;
        }
    }
}

TEST(BackBuffer, PartialClearAndPresentMatchAFullRedraw) { checkAgainstFullRedraw(false); }
TEST(BackBuffer, TrailsStayAndPresentMatchesAFullRedraw) { checkAgainstFullRedraw(true); }
TEST(BackBuffer, ManyCopiesBetweenClearsMatchAFullRedraw) { checkAgainstFullRedraw(false, 600, 8); }

TEST(BackBuffer, ClearingTouchesOnlyWhatWasDrawn) {
    display::BackBuffer buffer;
    buffer.resize(QSize(100, 100));
    buffer.setBackColor(Qt::black);
    buffer.takeChanges();
    buffer.BitBlt(10, 10, 5, 5, solid(5, 5, Qt::white));
    buffer.takeChanges();
    buffer.Cls();
    const auto changes = buffer.takeChanges();
    ASSERT_FALSE(changes.all);
    ASSERT_EQ(changes.rects.size(), 1u);
    EXPECT_EQ(changes.rects[0], QRect(10, 10, 5, 5));
    buffer.Cls();
    EXPECT_TRUE(buffer.takeChanges().empty());
}

}  // namespace
