#include "settings/profile.h"

#include <QFile>

namespace platform {

namespace {

// The section name of a header line "[name]", or a null string.
QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return QString();
    const int close = t.indexOf(u']');
    if (close < 0) return QString();
    return t.mid(1, close - 1).trimmed();
}

bool isComment(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(u';');
}

// The key name of a key line "key=value", or a null string.
QString keyName(const QString& line) {
    if (isComment(line)) return QString();
    const int eq = line.indexOf(u'=');
    if (eq < 0) return QString();
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString keyLine(const QString& key, const QString& value) {
    // A line break inside a value would start a new line in the file.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    return key + u'=' + clean;
}

}  // namespace

ProfileDocument ProfileDocument::parse(const QByteArray& bytes) {
    ProfileDocument doc;
    const QString text = QString::fromUtf8(bytes);
    doc.lines_ = text.split(u'\n');
    if (!doc.lines_.isEmpty() && doc.lines_.back().isEmpty()) doc.lines_.removeLast();
    for (QString& line : doc.lines_)
        if (line.endsWith(u'\r')) line.chop(1);
    return doc;
}

QByteArray ProfileDocument::serialize() const {
    QByteArray out;
    for (const QString& line : lines_) {
        out += line.toUtf8();
        out += '\n';
    }
    return out;
}

int ProfileDocument::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const QString name = sectionName(lines_[i]);
        if (!name.isNull() && sameName(name, section)) return i;
    }
    return -1;
}

int ProfileDocument::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && sectionName(lines_[i]).isNull()) ++i;
    return i;
}

int ProfileDocument::findKey(int header, const QString& key) const {
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString name = keyName(lines_[i]);
        if (!name.isNull() && sameName(name, key)) return i;
    }
    return -1;
}

QString ProfileDocument::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) return QString();
    const int line = findKey(header, key);
    if (line < 0) return QString();
    const QString& text = lines_[line];
    return text.mid(text.indexOf(u'=') + 1).trimmed();
}

QHash<QString, QString> ProfileDocument::sectionValues(const QString& section) const {
    QHash<QString, QString> values;
    const int header = findSection(section);
    if (header < 0) return values;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString name = keyName(lines_[i]);
        const QString folded = name.toCaseFolded();
        if (name.isNull() || values.contains(folded)) continue;  // the first line of a key wins
        const QString& text = lines_[i];
        values.insert(folded, text.mid(text.indexOf(u'=') + 1).trimmed());
    }
    return values;
}

void ProfileDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString line = keyLine(key, value);
    int header = findSection(section);
    if (header < 0) {
        lines_.append(u'[' + section + u']');
        lines_.append(line);
        return;
    }
    const int existing = findKey(header, key);
    if (existing >= 0) {
        lines_[existing] = line;
        return;
    }
    // After the section's last non-blank line, so a blank separator stays last.
    int insertAt = sectionEnd(header);
    while (insertAt > header + 1 && lines_[insertAt - 1].trimmed().isEmpty()) --insertAt;
    lines_.insert(insertAt, line);
}

void ProfileDocument::appendSection(const QString& section, const QList<QPair<QString, QString>>& values) {
    lines_.append(u'[' + section + u']');
    for (const auto& [key, value] : values) lines_.append(keyLine(key, value));
}

void ProfileDocument::removeSection(const QString& section) {
    for (int header = findSection(section); header >= 0; header = findSection(section))
        lines_.erase(lines_.begin() + header, lines_.begin() + sectionEnd(header));
}

class ProfileIndex {
public:
    // One pass over the file finds the sections, with the document's own
    // rules for header lines, and keeps the keys of every section up to a
    // megabyte. A larger section is read and parsed the first time it is
    // asked for, so a huge section nobody reads costs one scan and no memory.
    // The file stays open meanwhile: a settings file is only ever replaced by
    // a rename, so the open file is still the one scanned. The first section
    // of a name and the first line of a key in it win.
    explicit ProfileIndex(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly)) return;
        QString current;  // folded name of the section being scanned; null before the first
        qint64 currentStart = 0;
        // The lines of the section being scanned, while it is small enough to
        // keep: sections kept whole read as they were even if the file is
        // rewritten in place meanwhile; only a huge one is read again later.
        constexpr qsizetype kKeepWhole = 1 << 20;
        QByteArray kept;
        bool keeping = true;
        auto close = [&](qint64 end) {
            if (!current.isNull() && !sections_.contains(current)) {
                Section section{currentStart, end, keeping, false, {}, {}};
                if (keeping) section.bytes = std::move(kept);
                sections_.insert(current, std::move(section));
            }
            kept.clear();
            keeping = true;
        };
        // Read in pieces through one buffer: a file of many megabytes is
        // never held whole.
        constexpr qint64 kPiece = 1 << 20;
        QByteArray data;
        qint64 dataStart = 0;  // file offset of data[0]
        for (bool atEnd = false; !atEnd;) {
            const QByteArray piece = file_.read(kPiece);
            atEnd = piece.isEmpty();
            data += piece;
            qsizetype pos = 0;
            while (pos < data.size()) {
                qsizetype end = data.indexOf('\n', pos);
                if (end < 0) {
                    if (!atEnd) break;  // the rest of the line comes with the next piece
                    end = data.size();
                }
                QByteArrayView raw(data.constData() + pos, end - pos);
                if (raw.endsWith('\r')) raw.chop(1);
                bool header = false;
                if (mayBeHeader(raw)) {
                    const QString section = sectionName(QString::fromUtf8(raw));
                    if (!section.isNull()) {
                        header = true;
                        close(dataStart + pos);
                        current = section.toCaseFolded();
                        currentStart = dataStart + end + 1;
                    }
                }
                if (!header && keeping && !current.isNull()) {
                    kept.append(data.constData() + pos, std::min(end + 1, data.size()) - pos);
                    if (kept.size() > kKeepWhole) {
                        kept.clear();
                        keeping = false;
                    }
                }
                pos = end + 1;
            }
            pos = std::min(pos, data.size());
            data.remove(0, pos);
            dataStart += pos;
        }
        close(file_.size());
    }

    QString value(const QString& section, const QString& key) const {
        const Section* found = parsed(section);
        if (!found) return QString();
        const auto it = found->keys.constFind(key.toCaseFolded());
        return it == found->keys.constEnd() ? QString() : valueAt(*found, *it);
    }
    QHash<QString, QString> sectionValues(const QString& section) const {
        QHash<QString, QString> values;
        const Section* found = parsed(section);
        if (!found) return values;
        values.reserve(found->keys.size());
        for (auto it = found->keys.constBegin(); it != found->keys.constEnd(); ++it)
            values.insert(it.key(), valueAt(*found, *it));
        return values;
    }

private:
    // Where a key's value lies in its section's bytes (after its '='),
    // decoded on demand.
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    struct Section {
        qint64 start = 0;   // file offset of the first byte after the header line
        qint64 end = 0;     // file offset of the next header line
        bool kept = false;  // `bytes` holds the lines from the first pass
        bool parsed = false;
        QByteArray bytes;  // the section's lines, once parsed
        QHash<QString, Span> keys;
    };

    static QString valueAt(const Section& section, Span span) {
        return QString::fromUtf8(QByteArrayView(section.bytes.constData() + span.start, span.length)).trimmed();
    }

    static bool isAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    // Only a line whose first character other than ASCII space is '[' or
    // not ASCII at all (other white space, a byte order mark) can be a header.
    static bool mayBeHeader(QByteArrayView raw) {
        for (const char c : raw) {
            if (isAsciiSpace(c)) continue;
            return c == '[' || (static_cast<unsigned char>(c) & 0x80);
        }
        return false;
    }

    // One key line of a section: the common all-ASCII line is taken apart
    // byte by byte; any other line goes through the document's own rules.
    void addKey(Section& section, qsizetype lineStart, QByteArrayView raw) const {
        qsizetype first = 0;
        while (first < raw.size() && isAsciiSpace(raw[first])) ++first;
        if (first == raw.size() || raw[first] == ';') return;  // blank, or a comment
        qsizetype eq = -1;
        bool ascii = true;
        for (qsizetype i = first; i < raw.size(); ++i) {
            const char c = raw[i];
            if (static_cast<unsigned char>(c) & 0x80) {
                ascii = false;
                if (eq >= 0) break;  // the value may be anything
                continue;
            }
            if (c == '=' && eq < 0) {
                eq = i;
                if (!ascii) break;
            }
        }
        if (ascii && eq < 0) return;  // no key
        if (ascii) {
            qsizetype last = eq;
            while (last > first && isAsciiSpace(raw[last - 1])) --last;
            QString key(last - first, Qt::Uninitialized);
            for (qsizetype i = first; i < last; ++i) {
                const char c = raw[i];
                key[i - first] = QLatin1Char(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
            }
            if (!section.keys.contains(key)) section.keys.insert(key, Span{lineStart + eq + 1, raw.size() - eq - 1});
            return;
        }
        const QString line = QString::fromUtf8(raw);
        const QString key = keyName(line);
        if (key.isNull()) return;
        const QString folded = key.toCaseFolded();
        if (section.keys.contains(folded)) return;
        // The value's bytes follow the first '=' (an ASCII byte, so the
        // text before it decodes to the same characters either way).
        const qsizetype eqByte = raw.indexOf('=');
        section.keys.insert(folded, Span{lineStart + eqByte + 1, raw.size() - eqByte - 1});
    }

    // Takes the section's lines apart into keys.
    void parse(Section& section) const {
        section.parsed = true;
        const QByteArray& lines = section.bytes;
        for (qsizetype start = 0; start < lines.size();) {
            qsizetype end = lines.indexOf('\n', start);
            if (end < 0) end = lines.size();
            QByteArrayView raw(lines.constData() + start, end - start);
            if (raw.endsWith('\r')) raw.chop(1);
            addKey(section, start, raw);
            start = end + 1;
        }
    }

    const Section* parsed(const QString& name) const {
        const auto it = sections_.find(name.toCaseFolded());
        if (it == sections_.end()) return nullptr;
        Section& section = *it;
        if (!section.parsed) {
            // A read that fails leaves the section empty, as a missing file reads.
            if (!section.kept && section.end > section.start && file_.seek(section.start))
                section.bytes = file_.read(section.end - section.start);
            parse(section);
        }
        return &section;
    }

    // Read and filled on first use; a ProfileFile and its index serve one thread.
    mutable QFile file_;
    mutable QHash<QString, Section> sections_;
};

ProfileFile::ProfileFile(QString path, AtomicWriteOptions writeOptions)
    : path_(std::move(path)), writeOptions_(std::move(writeOptions)) {}

ProfileFile ProfileFile::ReadOnce(QString path, AtomicWriteOptions writeOptions) {
    ProfileFile file(std::move(path), std::move(writeOptions));
    file.index_ = std::make_shared<const ProfileIndex>(file.path_);
    return file;
}

AtomicWriteOptions ProfileFile::ownerOnly() {
    AtomicWriteOptions options;
    options.newFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    // The file holds the password in plain text: readable by its owner only,
    // also when it was created or widened by someone else.
    options.alwaysNewFilePermissions = true;
    return options;
}

ProfileDocument ProfileFile::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return ProfileDocument();
    return ProfileDocument::parse(file.readAll());
}

bool ProfileFile::save(const ProfileDocument& document) const {
    index_.reset();  // what was read once is no longer the file
    return WriteFileAtomically(path_, document.serialize(), writeOptions_);
}

QString ProfileFile::read(const QString& section, const QString& key) const {
    return index_ ? index_->value(section, key) : load().value(section, key);
}

QHash<QString, QString> ProfileFile::readSection(const QString& section) const {
    return index_ ? index_->sectionValues(section) : load().sectionValues(section);
}

bool ProfileFile::write(const QString& section, const QString& key, const QString& value) const {
    ProfileDocument doc = load();
    doc.setValue(section, key, value);
    return save(doc);
}

bool ProfileFile::deleteSection(const QString& section) const {
    ProfileDocument doc = load();
    doc.removeSection(section);
    return save(doc);
}

}  // namespace platform
