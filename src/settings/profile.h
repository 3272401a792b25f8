// The profile (INI) file: sections in square brackets, key=value lines.
// Section and key names match without regard to case; a missing file,
// section or key reads as the empty text; a value of any length (a long
// path) reads back whole; lines this program does not touch (comments, other sections,
// unknown keys) survive every write.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

#include "platform/atomic_file.h"

namespace platform {

// The file's lines in memory, edited in place and written back whole.
class ProfileDocument {
public:
    static ProfileDocument parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value of the first matching key in the first matching section.
    QString value(const QString& section, const QString& key) const;
    // Replaces the first matching key line, or adds the key at the end of the
    // section, or adds the section at the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);
    // The key lines of the first section of that name, key (folded) to
    // value, the first line of each key winning as in `value`.
    QHash<QString, QString> sectionValues(const QString& section) const;
    // Adds a section with these keys, in order, at the end of the file: one
    // pass for a long list (the caller has removed any section of that name).
    void appendSection(const QString& section, const QList<QPair<QString, QString>>& values);
    // Removes every section of that name with all its lines.
    void removeSection(const QString& section);

private:
    // Index of the header line of the first section of that name, or -1.
    int findSection(const QString& section) const;
    // One past the last line of the section whose header is at `header`.
    int sectionEnd(int header) const;
    int findKey(int header, const QString& key) const;

    QStringList lines_;
};

// Every section's keys, parsed from a file once: the values
// ProfileDocument::value would give, found by hash instead of by a scan.
class ProfileIndex;

// The read-one-key and write-one-key operations on a file by path. Each
// write reads the file afresh and replaces it atomically. Writes report
// failure through their result only; callers may ignore it.
class ProfileFile {
public:
    explicit ProfileFile(QString path, AtomicWriteOptions writeOptions = ownerOnly());
    // A file whose reads all answer from one parse made now, for a run of
    // many reads (start-up reads every key): the same values as reading key
    // by key while nothing writes the file. Its own writes drop the parse.
    static ProfileFile ReadOnce(QString path, AtomicWriteOptions writeOptions = ownerOnly());

    const QString& path() const { return path_; }
    // Whether reads answer from one parse (ReadOnce), so each costs no file access.
    bool readsOnce() const { return bool(index_); }
    QString read(const QString& section, const QString& key) const;
    // Every key of a section at once, for a run of many reads (a long
    // picture list): the values `read` would give, by key name folded with
    // QString::toCaseFolded (look keys up folded too). Empty when the
    // section is missing.
    QHash<QString, QString> readSection(const QString& section) const;
    bool write(const QString& section, const QString& key, const QString& value) const;
    bool deleteSection(const QString& section) const;

    // Several edits written in one atomic replace: readers see either the
    // old file or the new one.
    ProfileDocument load() const;
    bool save(const ProfileDocument& document) const;

    // The file holds a password: readable and writable by its owner only after
    // every write, whatever its permissions were before.
    static AtomicWriteOptions ownerOnly();

private:
    QString path_;
    AtomicWriteOptions writeOptions_;
    mutable std::shared_ptr<const ProfileIndex> index_;
};

}  // namespace platform
