#include "imagestore/cache_record.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

#include "imagestore/cache_paths.h"
#include "platform/atomic_file.h"

namespace imagestore {

namespace {

constexpr int kRecordFormat = 1;

// Whole-number fields are stored as decimal text: a JSON number loses
// precision past 2^53, and a byte count or a time must compare exactly.
QString Number(qint64 value) { return QString::number(value); }

bool ReadNumber(const QJsonValue& value, qint64& out) {
    if (!value.isString()) return false;
    bool ok = false;
    out = value.toString().toLongLong(&ok);
    return ok;
}

}  // namespace

QString CacheRecordPath(const QString& appPath) { return CacheFolder(appPath) + QStringLiteral("Glidorama.record"); }

std::optional<SourceStamp> StampOf(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    SourceStamp stamp;
    stamp.path = path;
    stamp.size = qint64(st.st_size);
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.inode = qint64(st.st_ino);
    return stamp;
}

namespace {

// One entry of the record; nothing when any field is missing or malformed
// (an entry half understood is no entry).
std::optional<CopyRecord> ReadEntry(const QJsonObject& o) {
    CopyRecord copy;
    qint64 rules = 0;
    const bool whole = o.value(QStringLiteral("source")).isString() &&
                       o.value(QStringLiteral("backColor")).isString() &&
                       ReadNumber(o.value(QStringLiteral("rules")), rules) &&
                       ReadNumber(o.value(QStringLiteral("sourceSize")), copy.source.size) &&
                       ReadNumber(o.value(QStringLiteral("sourceModified")), copy.source.modifiedNs) &&
                       ReadNumber(o.value(QStringLiteral("sourceInode")), copy.source.inode) &&
                       ReadNumber(o.value(QStringLiteral("copySize")), copy.copySize) &&
                       ReadNumber(o.value(QStringLiteral("copyModified")), copy.copyModifiedNs);
    if (!whole) return std::nullopt;
    copy.source.path = o.value(QStringLiteral("source")).toString();
    copy.backColor = o.value(QStringLiteral("backColor")).toString();
    copy.rulesVersion = int(rules);
    // Records written before transparency was noted leave it unknown.
    copy.transparent = o.value(QStringLiteral("transparent")).toString() != QStringLiteral("0");
    if (const QJsonValue scale = o.value(QStringLiteral("scale")); !scale.isUndefined()) {
        bool ok = false;
        copy.scale = scale.toString().toDouble(&ok);
        if (!ok || !(copy.scale >= 1 && copy.scale <= 8)) return std::nullopt;
    }
    return copy;
}

QJsonObject WriteEntry(const CopyRecord& c) {
    return QJsonObject{
        {QStringLiteral("source"), c.source.path},
        {QStringLiteral("sourceSize"), Number(c.source.size)},
        {QStringLiteral("sourceModified"), Number(c.source.modifiedNs)},
        {QStringLiteral("sourceInode"), Number(c.source.inode)},
        {QStringLiteral("rules"), Number(c.rulesVersion)},
        {QStringLiteral("backColor"), c.backColor},
        {QStringLiteral("transparent"), c.transparent ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("scale"), QString::number(c.scale)},
        {QStringLiteral("copySize"), Number(c.copySize)},
        {QStringLiteral("copyModified"), Number(c.copyModifiedNs)},
    };
}

}  // namespace

CacheRecord CacheRecord::Load(const QString& appPath) {
    CacheRecord record;
    QFile file(CacheRecordPath(appPath));
    if (!file.open(QIODevice::ReadOnly)) return record;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toInt(-1) != kRecordFormat) return record;
    for (const QJsonValue& value : root.value(QStringLiteral("copies")).toArray()) {
        const QJsonObject o = value.toObject();
        qint64 number = -1;
        const std::optional<CopyRecord> copy = ReadEntry(o);
        if (copy && ReadNumber(o.value(QStringLiteral("copy")), number) && number >= 0 && number <= INT32_MAX)
            record.copies_.insert(int(number), *copy);
    }
    for (const QJsonValue& value : root.value(QStringLiteral("prepared")).toArray()) {
        const QJsonObject o = value.toObject();
        const QString name = o.value(QStringLiteral("file")).toString();
        const std::optional<CopyRecord> copy = ReadEntry(o);
        // A bare file name: the record never points outside the cache folder.
        if (copy && !name.isEmpty() && !name.contains(u'/') && !name.startsWith(u'.'))
            record.prepared_.insert(name, *copy);
    }
    return record;
}

bool CacheRecord::save(const QString& appPath) const {
    QList<int> numbers = copies_.keys();
    std::sort(numbers.begin(), numbers.end());
    QJsonArray copies;
    for (int number : numbers) {
        QJsonObject entry = WriteEntry(copies_[number]);
        entry.insert(QStringLiteral("copy"), Number(number));
        copies.append(entry);
    }
    QStringList names = prepared_.keys();
    names.sort();
    QJsonArray prepared;
    for (const QString& name : names) {
        QJsonObject entry = WriteEntry(prepared_[name]);
        entry.insert(QStringLiteral("file"), name);
        prepared.append(entry);
    }
    QJsonObject root{{QStringLiteral("format"), kRecordFormat}, {QStringLiteral("copies"), copies}};
    if (!prepared.isEmpty()) root.insert(QStringLiteral("prepared"), prepared);
    return platform::WriteFileAtomically(CacheRecordPath(appPath), QJsonDocument(root).toJson(QJsonDocument::Compact));
}

const CopyRecord* CacheRecord::find(int cacheNumber) const {
    const auto it = copies_.constFind(cacheNumber);
    return it == copies_.constEnd() ? nullptr : &*it;
}

}  // namespace imagestore
