#include "imagestore/cache_update.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_record.h"
#include "support/temp_app_folder.h"

using imagestore::UpdateCache;
using imagestore::UpdateCounts;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 ModifiedNs(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Sets a file's modification time to `seconds` past the epoch.
void SetModified(const QString& path, time_t seconds) {
    const utimbuf times{seconds, seconds};
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

class CacheUpdateTest : public ::testing::Test {
protected:
    CacheUpdateTest() {
        app.makeCacheFolder();
        reference.makeCacheFolder();
    }

    // A picture of its own colour and size, so every copy differs.
    QString picture(const QString& name, QColor color, int width = 60, int height = 40) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        QPainter(&image).fillRect(0, 0, width / 3, height / 3, Qt::white);
        const QString path = app.file(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
    QString copy(int n) const { return imagestore::CachedPicturePath(app.path(), QString::number(n)); }
    // What a fresh conversion of `source` gives, in a folder of its own.
    QByteArray fresh(const QString& source) {
        imagestore::ConvertPicture(source, reference.path(), QStringLiteral("0"));
        return Bytes(imagestore::CachedPicturePath(reference.path(), QStringLiteral("0")));
    }
    UpdateCounts update(const QStringList& pictures, const QString& backColor = QStringLiteral("0")) {
        UpdateCounts counts;
        const imagestore::BatchResult result = UpdateCache(pictures, app.path(), backColor, {}, &counts);
        EXPECT_EQ(result.failedIndex, -1) << result.error.toStdString();
        return counts;
    }
    // Every copy 0..n-1 is byte for byte the fresh conversion of its picture.
    void expectCopiesOf(const QStringList& pictures) {
        for (int i = 0; i < pictures.size(); ++i) EXPECT_EQ(Bytes(copy(i)), fresh(pictures[i])) << "copy " << i;
    }

    testing_support::TempAppFolder app;
    testing_support::TempAppFolder reference;
};

TEST_F(CacheUpdateTest, AnUnchangedListConvertsNothingAndTouchesNoCopy) {
    const QStringList list{picture("a.png", Qt::red), picture("b.png", Qt::green), picture("c.png", Qt::blue)};
    EXPECT_EQ(update(list).converted, 3);
    std::vector<qint64> times;
    for (int i = 0; i < 3; ++i) times.push_back(ModifiedNs(copy(i)));

    const UpdateCounts again = update(list);
    EXPECT_EQ(again.converted, 0);
    EXPECT_EQ(again.kept, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ModifiedNs(copy(i)), times[size_t(i)]);
    expectCopiesOf(list);
}

TEST_F(CacheUpdateTest, AChangedOrTouchedFileIsConvertedAgain) {
    const QStringList list{picture("a.png", Qt::red), picture("b.png", Qt::green), picture("c.png", Qt::blue)};
    update(list);
    picture("b.png", Qt::yellow, 80, 50);  // new content under the same name
    UpdateCounts counts = update(list);
    EXPECT_EQ(counts.converted, 1);
    EXPECT_EQ(counts.kept, 2);
    expectCopiesOf(list);

    // Same bytes, a new modification time: the record cannot tell, so it converts.
    SetModified(list[2], 1000000);
    counts = update(list);
    EXPECT_EQ(counts.converted, 1);
    expectCopiesOf(list);
}

TEST_F(CacheUpdateTest, ReorderedRemovedAndRepeatedEntriesMoveTheirCopies) {
    const QString a = picture("a.png", Qt::red), b = picture("b.png", Qt::green), c = picture("c.png", Qt::blue);
    update({a, b, c});
    // c and a swap places over b's old spot, and a appears twice.
    const QStringList list{c, a, a};
    const UpdateCounts counts = update(list);
    EXPECT_EQ(counts.converted, 0);
    EXPECT_EQ(counts.moved, 3);
    expectCopiesOf(list);
    // The moved copies are recorded: the next update keeps them all.
    EXPECT_EQ(update(list).kept, 3);
    EXPECT_TRUE(QDir(imagestore::CacheFolder(app.path()))
                    .entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

TEST_F(CacheUpdateTest, ABackColourRemakesTransparentPicturesAndAnUnreadableRecordAll) {
    QImage clear(30, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ASSERT_TRUE(clear.save(app.file(QStringLiteral("clear.png"))));
    const QStringList list{picture("a.png", Qt::red), app.file(QStringLiteral("clear.png")),
                           picture("b.png", Qt::green)};
    update(list);
    EXPECT_EQ(update(list, QStringLiteral("255")).converted, 1);
    EXPECT_EQ(update(list, QStringLiteral("255")).converted, 0);
    // A record from before transparency was noted: every copy counts as transparent.
    QFile record(imagestore::CacheRecordPath(app.path()));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    QByteArray old = record.readAll();
    record.close();
    old.replace(",\"transparent\":\"0\"", "").replace(",\"transparent\":\"1\"", "");
    ASSERT_FALSE(old.contains("transparent"));
    ASSERT_TRUE(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
    record.write(old);
    record.close();
    EXPECT_EQ(update(list, QStringLiteral("65280")).converted, 3);

    for (const QByteArray& garbage :
         {QByteArray("{\"format\":1,\"copies\":[{\"copy\":\"0\"}"), QByteArray("\xff\xfe"), QByteArray()}) {
        QFile f(imagestore::CacheRecordPath(app.path()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(garbage);
        f.close();
        EXPECT_EQ(update(list, QStringLiteral("255")).converted, 3);
    }
}

TEST_F(CacheUpdateTest, CopiesAreRemadeForAnotherScaleAndAnOldRecordReadsAsScaleOne) {
    const QStringList list{picture("a.png", Qt::red, 600, 400), picture("b.png", Qt::green)};
    update(list);
    const QSize atOne = QImage(copy(0), "BMP").size();
    // A record from before scales were kept vouches for copies made for scale 1.
    QFile record(imagestore::CacheRecordPath(app.path()));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    QByteArray old = record.readAll();
    record.close();
    old.replace(",\"scale\":\"1\"", "");
    ASSERT_FALSE(old.contains("scale"));
    ASSERT_TRUE(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
    record.write(old);
    record.close();
    EXPECT_EQ(update(list).kept, 2);

    // For a screen at scale 2 every copy is remade twice as large, once.
    for (const int converted : {2, 0}) {
        UpdateCounts counts;
        UpdateCache(list, app.path(), QStringLiteral("0"), {}, &counts, {}, 2);
        EXPECT_EQ(counts.converted, converted);
    }
    EXPECT_EQ(QImage(copy(0), "BMP").size(), atOne * 2);
    EXPECT_EQ(imagestore::CacheRecord::Load(app.path()).find(0)->scale, 2);
}

TEST_F(CacheUpdateTest, ACopyReplacedBehindTheRecordIsNeverReused) {
    const QString a = picture("a.png", Qt::red), b = picture("b.png", Qt::green);
    const QString c = picture("c.png", Qt::blue), d = picture("d.png", Qt::cyan);
    update({a, b});
    // A run for {c, d} is killed after c's copy is made but before the
    // record is written (here: the progress report for d never returns).
    struct Killed {};
    EXPECT_THROW(UpdateCache({c, d}, app.path(), QStringLiteral("0"),
                             [](int i) {
                                 if (i == 1) throw Killed{};
                             }),
                 Killed);
    // The cached pictures and their record are untouched, the unrecorded copy of c goes.
    EXPECT_EQ(update({a, b}).converted, 0);
    expectCopiesOf({a, b});
    EXPECT_TRUE(QDir(imagestore::CacheFolder(app.path())).entryList({QStringLiteral("*.prepared")}).isEmpty());

    // A copy overwritten by hand is not trusted either.
    QFile::remove(copy(1));
    QFile::copy(copy(0), copy(1));
    EXPECT_EQ(update({a, b}).converted, 1);
    expectCopiesOf({a, b});
}

TEST_F(CacheUpdateTest, AMissingPictureFailsAtItsPlaceAndStaleTemporaryFilesGo) {
    const QString a = picture("a.png", Qt::red), b = picture("b.png", Qt::green);
    const QString leftover = imagestore::CacheFolder(app.path()) + QStringLiteral(".Glidorama3.dib.Ab12Cd");
    QFile f(leftover);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    update({a, b});
    EXPECT_FALSE(QFile::exists(leftover));

    const imagestore::BatchResult result =
        UpdateCache({a, app.file(QStringLiteral("gone.png")), b}, app.path(), QStringLiteral("0"));
    EXPECT_EQ(result.failedIndex, 1);
    EXPECT_EQ(result.errorNumber, 53);
    EXPECT_EQ(Bytes(copy(0)), fresh(a));
}

}  // namespace
