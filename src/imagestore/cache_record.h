// What each cached copy was made from, kept beside the copies so that "&OK"
// converts only the pictures that changed. Anything unreadable in the record
// counts as unknown, and an unknown copy is converted again.
#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace imagestore {

// Bumped whenever a change to the conversion makes different bytes from the
// same picture, so that copies made by the old rules are converted again.
constexpr int kConversionRulesVersion = 1;

// The user's picture file as it was when its copy was made.
struct SourceStamp {
    QString path;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    qint64 inode = 0;
    bool operator==(const SourceStamp&) const = default;
};

// One cached copy: what it was made from and what it looked like on disk
// right after, so a copy replaced behind the record's back is not trusted.
struct CopyRecord {
    SourceStamp source;
    int rulesVersion = 0;
    QString backColor;
    // Whether the source has transparent parts, drawn in `backColor`; a copy
    // of an opaque source serves any background. Unknown counts as true.
    bool transparent = true;
    // The picture scale the copy was made for: it is that many times the
    // size band's size. Records from before scales were kept read as 1.
    double scale = 1;
    qint64 copySize = -1;
    qint64 copyModifiedNs = 0;
};

// The stamp of a file now, or nothing when it cannot be read (missing,
// a folder, no permission to look).
std::optional<SourceStamp> StampOf(const QString& path);

class CacheRecord {
public:
    // The record of the cache folder, empty when missing or unreadable.
    static CacheRecord Load(const QString& appPath);
    // Written atomically; false when it could not be written.
    bool save(const QString& appPath) const;

    const CopyRecord* find(int cacheNumber) const;
    void set(int cacheNumber, const CopyRecord& record) { copies_.insert(cacheNumber, record); }
    void forget(int cacheNumber) { copies_.remove(cacheNumber); }
    const QHash<int, CopyRecord>& copies() const { return copies_; }

    // Copies made by an update that was stopped before it finished: not
    // shown (no cached picture number), kept for the next update to use. By
    // file name in the cache folder.
    const QHash<QString, CopyRecord>& prepared() const { return prepared_; }
    void setPrepared(const QString& fileName, const CopyRecord& record) { prepared_.insert(fileName, record); }
    void forgetPrepared(const QString& fileName) { prepared_.remove(fileName); }

private:
    QHash<int, CopyRecord> copies_;
    QHash<QString, CopyRecord> prepared_;
};

// The record's file in the cache folder.
QString CacheRecordPath(const QString& appPath);

}  // namespace imagestore
