#include "dialog/picture_gathering.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include "picture/picture_check.h"

namespace dialog {

namespace {

// Names as a person sorts them: runs of digits by their number ("IMG_2"
// before "IMG_10"), the rest letter case aside. (QCollator's numeric mode
// needs a collation library that is not always there.)
QStringView WithoutLeadingZeros(QStringView digits) {
    qsizetype k = 0;
    while (k + 1 < digits.size() && digits[k] == u'0') ++k;
    return digits.sliced(k);
}

int CompareNames(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = i, je = j;
            while (ie < a.size() && a[ie].isDigit()) ++ie;
            while (je < b.size() && b[je].isDigit()) ++je;
            const QStringView xs = WithoutLeadingZeros(QStringView(a).sliced(i, ie - i));
            const QStringView ys = WithoutLeadingZeros(QStringView(b).sliced(j, je - j));
            // Longer without leading zeros means larger; equal lengths compare as text.
            if (xs.size() != ys.size()) return xs.size() < ys.size() ? -1 : 1;
            if (const int c = xs.compare(ys); c != 0) return c;
            i = ie;
            j = je;
            continue;
        }
        if (const int c = QString::compare(a.mid(i, 1), b.mid(j, 1), Qt::CaseInsensitive); c != 0) return c;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    return a.compare(b);  // names equal but for letter case or zeros: still one order
}

void SortByName(QFileInfoList& entries) {
    std::stable_sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return CompareNames(a.fileName(), b.fileName()) < 0;
    });
}

void Walk(const QString& folder, QSet<QString>& visited, FolderPictures& found) {
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || visited.contains(real)) return;
    visited.insert(real);
    QDir dir(folder);
    if (!dir.isReadable()) {
        found.unreadable << QDir::toNativeSeparators(folder);
        return;
    }
    QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    SortByName(files);
    SortByName(folders);
    for (const QFileInfo& file : files) {
        if (LooksLikePicture(file.filePath()))
            found.pictures << file.absoluteFilePath();
        else if (PictureExtensions().contains(file.suffix().toLower()))
            found.skipped << file.absoluteFilePath();
    }
    for (const QFileInfo& sub : folders) Walk(sub.absoluteFilePath(), visited, found);
}

}  // namespace

const QStringList& PictureExtensions() {
    static const QStringList extensions{
        QStringLiteral("gif"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jif"),  QStringLiteral("jfif"), QStringLiteral("bmp"),  QStringLiteral("dib"),
        QStringLiteral("png"),  QStringLiteral("webp"), QStringLiteral("tif"),  QStringLiteral("tiff"),
        QStringLiteral("heic"), QStringLiteral("heif"), QStringLiteral("hif"),  QStringLiteral("avif")};
    return extensions;
}

bool LooksLikePicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return platform::SniffPictureFormat(file.read(platform::kSniffBytes)) != platform::PictureFormat::Unknown;
}

FolderPictures PicturesInFolder(const QString& folder) {
    FolderPictures found;
    QSet<QString> visited;
    Walk(QDir(folder).absolutePath(), visited, found);
    return found;
}

namespace {

// What a refused file is, in plain words, from its leading bytes.
QString RefusalReason(const QString& path) {
    QFile file(path);
    if (!file.exists()) return QStringLiteral("the file does not exist");
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("it cannot be read");
    return platform::NotAPictureReason(file.read(platform::kSniffBytes));
}

}  // namespace

AddingSummary SummaryOfAdding(int added, const QStringList& skippedFiles, const QStringList& unreadableFolders) {
    auto counted = [](qsizetype n, const char* one, const char* many) {
        return QString::number(n) + u' ' + QLatin1String(n == 1 ? one : many);
    };
    QStringList parts{counted(added, "picture added", "pictures added")};
    if (!skippedFiles.isEmpty()) parts << counted(skippedFiles.size(), "file skipped", "files skipped");
    if (!unreadableFolders.isEmpty())
        parts << counted(unreadableFolders.size(), "folder could not be read", "folders could not be read");
    QStringList lines;
    for (const QString& path : skippedFiles) {
        QString line = path + QStringLiteral(" is not a picture Glidorama can show.");
        if (const QString reason = RefusalReason(path); !reason.isEmpty()) line += QStringLiteral(" (") + reason + u')';
        lines << line;
    }
    for (const QString& path : unreadableFolders)
        lines << QStringLiteral("The folder ") + path + QStringLiteral(" could not be read.");
    return {parts.join(QStringLiteral("; ")), lines.join(QStringLiteral("\r\n"))};
}

}  // namespace dialog
