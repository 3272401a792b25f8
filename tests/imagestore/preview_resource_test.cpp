#include <QImage>

#include <gtest/gtest.h>

// The preview picture comes built in with the image store's library.
TEST(PreviewResource, IsBuiltIn) {
    const QImage preview(QStringLiteral(":/glidorama/preview.png"));
    EXPECT_EQ(preview.size(), QSize(151, 119));
}
