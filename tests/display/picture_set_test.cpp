#include <gtest/gtest.h>

#include <QColor>

#include "display/picture_set.h"
#include "runtime/vb.h"

using display::BuildPictureSet;
using display::DisplayArray;

namespace {

std::vector<int> memberWidths(int sourceWidth, int sourceHeight = 10) {
    platform::PictureBox source;
    source.setAutoSize(true);
    QImage picture(sourceWidth, sourceHeight, QImage::Format_RGB32);
    picture.fill(Qt::red);
    source.setPicture(picture);
    DisplayArray members;
    BuildPictureSet(source, members);
    std::vector<int> widths;
    for (const auto& m : members) widths.push_back(int(m.Width()));
    return widths;
}

TEST(PictureSet, MemberWidthsFollowTheStageArithmetic) {
    EXPECT_EQ(memberWidths(100), (std::vector<int>{99, 89, 79, 69, 59, 50, 33, 25, 20, 16, 14, 12}));
    EXPECT_EQ(memberWidths(640), (std::vector<int>{634, 570, 506, 442, 378, 320, 213, 160, 128, 106, 91, 80}));
    // The 0.99 stage of a narrow picture rounds back up to the full width.
    EXPECT_EQ(memberWidths(25), (std::vector<int>{25, 22, 20, 17, 15, 12, 8, 6, 5, 4, 3, 3}));
}

TEST(PictureSet, NarrowPicturesGiveEmptySmallStagesThatDrawNothing) {
    EXPECT_EQ(memberWidths(5), (std::vector<int>{5, 4, 4, 3, 3, 2, 1, 1, 1, 0, 0, 0}));
    platform::PictureBox source;
    source.setAutoSize(true);
    QImage picture(5, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    source.setPicture(picture);
    DisplayArray members;
    BuildPictureSet(source, members);
    EXPECT_TRUE(members[11].Image().isNull());
    EXPECT_EQ(members[0].Image().pixelColor(2, 2), QColor(Qt::red));
}

TEST(PictureSet, MembersHoldTheScaledPictureWithHeightsToo) {
    platform::PictureBox source;
    source.setAutoSize(true);
    QImage picture(80, 64, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    source.setPicture(picture);
    DisplayArray members;
    BuildPictureSet(source, members);
    EXPECT_EQ(members[0].Image().size(), QSize(79, 63));
    EXPECT_EQ(members[11].Image().size(), QSize(10, 8));
    EXPECT_EQ(members[11].Image().pixelColor(5, 4), QColor(Qt::blue));
    EXPECT_EQ(members[5].BorderStyle(), 0);
}

TEST(PictureSet, PictureWiderThanTheIntegerRangeIsAnOverflow) {
    try {
        memberWidths(40000, 1);
        FAIL() << "no error raised";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.number(), vb::kOverflow);
    }
}

}  // namespace
