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

private:
    QHash<int, CopyRecord> copies_;
};

// The record's file in the cache folder.
QString CacheRecordPath(const QString& appPath);

}  // namespace imagestore
