// Every format the program reads, upright and in its colours, and the files
// it refuses: each refusal says why, and none costs more than the budget.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

#include "picture/picture.h"
#include "support/error_number.h"
#include "support/test_pictures.h"

using namespace testing_support;

namespace {

class PictureFormatsTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QString put(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    }
    QTemporaryDir dir;
};

// Red where the left half of RedBlueHalves went, blue where the right went.
void ExpectRedThenBlue(const QImage& image, bool upright, const std::string& trace) {
    SCOPED_TRACE(trace);
    const QPoint red =
        upright ? QPoint(image.width() / 2, image.height() / 8) : QPoint(image.width() / 8, image.height() / 2);
    const QPoint blue =
        upright ? QPoint(image.width() / 2, image.height() * 7 / 8) : QPoint(image.width() * 7 / 8, image.height() / 2);
    EXPECT_GT(qRed(image.pixel(red)), 180);
    EXPECT_LT(qBlue(image.pixel(red)), 90);
    EXPECT_GT(qBlue(image.pixel(blue)), 180);
    EXPECT_LT(qRed(image.pixel(blue)), 90);
}

// The refusal an action raises, with its reason.
QString ReasonOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::PictureRefused& e) {
        return e.reason();
    } catch (const std::exception& e) {
        return QStringLiteral("not a refusal: ") + QString::fromLocal8Bit(e.what());
    }
    return QStringLiteral("accepted");
}

}  // namespace

TEST_F(PictureFormatsTest, EveryFormatLoadsInItsColoursWhateverItsName) {
    const QImage source = RedBlueHalves(64, 32);
    for (const char* suffix : {"png", "jpg", "bmp", "gif", "webp", "tif", "heic", "avif"}) {
        const QString file = path(QStringLiteral("p.") + suffix);
        ASSERT_TRUE(WritePicture(source, file)) << suffix;
        EXPECT_EQ(platform::PictureSize(file), QSize(64, 32)) << suffix;
        ExpectRedThenBlue(platform::LoadPicture(file), false, suffix);
        const QImage half = platform::LoadPictureScaled(file, QSize(32, 16));
        EXPECT_EQ(half.size(), QSize(32, 16)) << suffix;
        ExpectRedThenBlue(half, false, std::string(suffix) + " scaled");
        // Recognised by content: a wrong name changes nothing.
        const QString renamed = path(QStringLiteral("picture-%1.txt").arg(suffix));
        ASSERT_TRUE(QFile::copy(file, renamed));
        EXPECT_EQ(platform::PictureSize(renamed), QSize(64, 32)) << suffix;
    }
}

TEST_F(PictureFormatsTest, StoredOrientationIsHonouredInEveryFormatThatStoresOne) {
    for (const char* suffix : {"jpg", "tif", "webp", "png"}) {
        const QString file = path(QStringLiteral("turned.") + suffix);
        ASSERT_TRUE(WritePicture(RedBlueHalves(64, 32), file)) << suffix;
        ASSERT_TRUE(SetOrientation(file, 6)) << suffix;  // to be turned a quarter clockwise
        EXPECT_EQ(platform::PictureSize(file), QSize(32, 64)) << suffix;
        ExpectRedThenBlue(platform::LoadPicture(file), true, suffix);
        const QImage scaled = platform::LoadPictureScaled(file, QSize(16, 32));
        EXPECT_EQ(scaled.size(), QSize(16, 32)) << suffix;
        ExpectRedThenBlue(scaled, true, std::string(suffix) + " scaled");
        // Mirrored, then turned the other way: the red half lands at the bottom.
        ASSERT_TRUE(SetOrientation(file, 8)) << suffix;
        ExpectRedThenBlue(platform::LoadPicture(file).mirrored(false, true), true, std::string(suffix) + " 8");
    }
}

TEST_F(PictureFormatsTest, HeifRotationAndMirroringAreUndoneAtEverySize) {
    const QString turned = path("turned.heic");
    ASSERT_TRUE(WriteHeicWithOrientation(RedBlueHalves(64, 32), turned, 6));  // to be turned a quarter clockwise
    EXPECT_EQ(platform::PictureSize(turned), QSize(32, 64));
    ExpectRedThenBlue(platform::EncodedPicture::Open(turned).decode(), true, "natural size");
    const QImage shrunk = platform::EncodedPicture::Open(turned).decode(QSize(16, 32));
    EXPECT_EQ(shrunk.size(), QSize(16, 32));
    ExpectRedThenBlue(shrunk, true, "shrunk");
    const QString mirrored = path("mirrored.heic");
    ASSERT_TRUE(WriteHeicWithOrientation(RedBlueHalves(64, 32), mirrored, 2));  // to be mirrored left to right
    EXPECT_EQ(platform::PictureSize(mirrored), QSize(64, 32));
    ExpectRedThenBlue(platform::EncodedPicture::Open(mirrored).decode(QSize(32, 16)).mirrored(true, false), false,
                      "mirrored");
}

TEST_F(PictureFormatsTest, TransparencyShowsTheBackgroundGiven) {
    QImage half(20, 10, QImage::Format_ARGB32);
    half.fill(qRgba(255, 0, 0, 128));
    const QString file = path("half.png");
    ASSERT_TRUE(half.save(file));
    const QImage over = platform::OverBackground(platform::EncodedPicture::Open(file).decode(), QColor(0, 0, 255));
    EXPECT_FALSE(over.hasAlphaChannel());
    const QRgb pixel = over.pixel(5, 5);
    EXPECT_NEAR(qRed(pixel), 128, 3);
    EXPECT_NEAR(qBlue(pixel), 127, 3);
    EXPECT_EQ(qGreen(pixel), 0);
}

TEST_F(PictureFormatsTest, RefusalsNameTheFileAndSayWhy) {
    QByteArray webp;
    ASSERT_TRUE(WritePicture(RedBlueHalves(64, 32), path("whole.webp")));
    QFile whole(path("whole.webp"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    webp = whole.readAll();
    ASSERT_TRUE(WritePicture(RedBlueHalves(64, 32), path("whole.heic")));
    QFile heic(path("whole.heic"));
    ASSERT_TRUE(heic.open(QIODevice::ReadOnly));
    const QByteArray heicBytes = heic.readAll();
    QDir(dir.path()).mkdir("folder.jpg");

    const std::pair<QString, QString> cases[] = {
        {put("letter.jpg", "Dear Sir,\nthis is text.\n"), "it is a text file"},
        {put("empty.png", {}), "the file is empty"},
        {put("doc.jpg", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj"), "it is a PDF document"},
        {put("cut.webp", webp.left(webp.size() - 10)), "the file is cut off"},
        {put("cut.heic", heicBytes.left(heicBytes.size() / 2)), "the file is cut off"},
        {path("folder.jpg"), "it is a folder"},
    };
    for (const auto& [file, reason] : cases) {
        EXPECT_EQ(ReasonOf([&] { platform::PictureSize(file); }), reason) << file.toStdString();
    }
    try {
        platform::PictureSize(cases[0].first);
    } catch (const std::exception& e) {
        EXPECT_EQ(platform::RefusalMessage(cases[0].first, e),
                  cases[0].first + " is not a picture Glidorama can show. (it is a text file)");
    }
    // A missing file keeps its own number.
    EXPECT_EQ(testing_support::ErrorNumberOf([&] { platform::PictureSize(path("gone.png")); }), vb::kFileNotFound);
}

static double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
}

TEST_F(PictureFormatsTest, CraftedHugePicturesStayWithinTheBudgetAndTakeUnderASecond) {
    const QString jpeg = put("crafted.jpg", CraftedProgressiveJpeg(16000, 12000));
    const QString png = put("declared.png", CraftedPng(12000, 9000));
    const QString bmp = path("huge.bmp");
    ASSERT_TRUE(WriteSparseBmp(bmp, 20000, 20000));  // 1.2 GB of rows, none on disk
    const QString wide = path("wide.png");
    ASSERT_TRUE(RunTool("convert", {"-size", "5600x5600", "xc:white", wide}));
    EXPECT_LT(QFile(jpeg).size(), 1000);

    struct Case {
        QString file;
        QSize shownAt;
        QString reason;
    };
    const Case cases[] = {
        {jpeg, QSize(225, 169), "16000 x 12000 is too large to show"},  // even its thumbnail
        {png, QSize(), "12000 x 9000 is too large to show"},
        {bmp, QSize(200, 200), "20000 x 20000 is too large to show"},
        {wide, QSize(728, 728), "accepted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        // Processor time, not wall time: a refusal must cost little work,
        // however busy the machine running the test is.
        const double cpuStart = ProcessCpuMilliseconds();
        EXPECT_EQ(ReasonOf([&] { platform::EncodedPicture::Open(c.file).decode(c.shownAt); }), c.reason);
        if (testing_support::kUnderSanitizer) continue;
        EXPECT_LT(ProcessCpuMilliseconds() - cpuStart, 1000);
        const long peak = PeakKilobytesOf(
            "PictureDecodeChild.*",
            {"GLIDORAMA_DECODE_FILE=" + c.file,
             QStringLiteral("GLIDORAMA_DECODE_SIZE=%1x%2").arg(c.shownAt.width()).arg(c.shownAt.height())});
        ASSERT_GT(peak, 0);
        EXPECT_LT(peak, 300 * 1024);
    }
}

// Run alone by the test above, in a process of its own: decodes one file
// and reports the process's peak memory.
TEST(PictureDecodeChild, DecodesTheFileNamedInTheEnvironment) {
    const QString file = qEnvironmentVariable("GLIDORAMA_DECODE_FILE");
    if (file.isEmpty()) GTEST_SKIP() << "run by CraftedHugePicturesStayWithinTheBudgetAndTakeUnderASecond";
    const QStringList size = qEnvironmentVariable("GLIDORAMA_DECODE_SIZE").split(u'x');
    try {
        platform::EncodedPicture::Open(file).decode(QSize(size.value(0).toInt(), size.value(1).toInt()));
    } catch (const std::exception&) {}
    ReportPeakMemory();
}

TEST(PictureFit, KeepsProportionsAndLeavesWhatFits) {
    EXPECT_EQ(platform::FitWithin(QSize(6000, 4000), QSize(921, 654)), QSize(921, 614));
    EXPECT_EQ(platform::FitWithin(QSize(1000, 4000), QSize(921, 654)), QSize(164, 654));
    EXPECT_EQ(platform::FitWithin(QSize(30000, 1), QSize(900, 600)), QSize(900, 1));
    EXPECT_EQ(platform::FitWithin(QSize(400, 300), QSize(921, 654)), QSize(400, 300));
}
