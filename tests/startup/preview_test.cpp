#include <gtest/gtest.h>

#include "startup/module1.h"
#include "startup/preview.h"
#include "startup/preview_picture.h"
#include "support/temp_app_folder.h"

using startup::PreviewHandle;

TEST(Preview, TheHandleIsTheNumberAfterTheFirstThreeCharacters) {
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 4711")), 4711);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/P:4711")), 4711);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p  \t 12abc")), 12);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p abc")), 0);  // the root window
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p ")), 0);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 2.5")), 2);
}

TEST(Preview, NoWindowForABareSwitchOrANumberPastTheHandleRange) {
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p")), std::nullopt);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 99999999999")), std::nullopt);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p -99999999999")), std::nullopt);
}

TEST(Preview, TheBlockHoldsThePictureInItsTopLeftCornerAndBlackAroundIt) {
    const startup::PreviewPicture preview;
    const QImage& picture = preview.box.Image();
    ASSERT_EQ(picture.size(), QSize(151, 119));
    const QImage block = startup::PreviewBlock(preview.box);
    ASSERT_EQ(block.size(), QSize(160, 120));
    for (QPoint p : {QPoint(0, 0), QPoint(150, 118), QPoint(75, 60)}) EXPECT_EQ(block.pixel(p), picture.pixel(p));
    EXPECT_EQ(block.pixel(155, 10), qRgb(0, 0, 0));
    EXPECT_EQ(block.pixel(10, 119), qRgb(0, 0, 0));
}

TEST(Preview, WithoutAnXServerThePreviewEndsQuietly) {
    testing_support::TestEnvironment t;
    startup::Module1 module1(t.env);
    EXPECT_FALSE(module1.Main(QStringLiteral("/p 4711"), false));
    EXPECT_TRUE(t.end.ended);
    EXPECT_EQ(t.end.exitCode, 0);
    EXPECT_NE(module1.previewPicture(), nullptr);
}

TEST(Preview, HostsHexHandlesAreReadAsWellAsValsOwn) {
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 0x200005")), 0x200005);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 0X1a")), 0x1a);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p &H200005")), 0x200005);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 2097157")), 0x200005);
}

TEST(Preview, AHandleThatCannotBeReadNamesNoWindow) {
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 1e999")), std::nullopt);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 0xZZ")), std::nullopt);
    EXPECT_EQ(PreviewHandle(QStringLiteral("/p 0x1ffffffff")), std::nullopt);
}

TEST(Preview, AnUnreadableHandleEndsQuietly) {
    testing_support::TestEnvironment t;
    startup::Module1 module1(t.env);
    EXPECT_FALSE(module1.Main(QStringLiteral("/p 1e999"), false));
    EXPECT_TRUE(t.end.ended);
    EXPECT_EQ(t.end.exitCode, 0);
}
