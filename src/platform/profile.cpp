#include "platform/profile.h"

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

QString cut(const QString& value, int length) {
    if (value.size() <= length) return value;
    QString v = value.left(length);
    if (!v.isEmpty() && v.back().isHighSurrogate()) v.chop(1);
    return v;
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
    // One pass over the bytes finds the sections, with the document's own
    // rules for header lines; a section's keys are parsed the first time it
    // is asked for, so sections nobody reads (however long) cost one scan.
    // The first section of a name and the first line of a key in it win.
    explicit ProfileIndex(QByteArray bytes) : bytes_(std::move(bytes)) {
        QString current;  // folded name of the section being scanned; null before the first
        qsizetype currentStart = 0;
        auto close = [&](qsizetype end) {
            if (!current.isNull() && !sections_.contains(current)) sections_.insert(current, Section{currentStart, end, false, {}});
        };
        for (qsizetype start = 0; start < bytes_.size();) {
            qsizetype end = bytes_.indexOf('\n', start);
            if (end < 0) end = bytes_.size();
            const QByteArrayView raw = lineAt(start, end);
            const qsizetype next = end + 1;
            if (mayBeHeader(raw)) {
                const QString section = sectionName(QString::fromUtf8(raw));
                if (!section.isNull()) {
                    close(start);
                    current = section.toCaseFolded();
                    currentStart = next;
                }
            }
            start = next;
        }
        close(bytes_.size());
    }

    QString value(const QString& section, const QString& key) const {
        const Section* found = parsed(section);
        if (!found) return QString();
        const auto it = found->keys.constFind(key.toCaseFolded());
        return it == found->keys.constEnd() ? QString() : valueAt(*it);
    }
    QHash<QString, QString> sectionValues(const QString& section) const {
        QHash<QString, QString> values;
        const Section* found = parsed(section);
        if (!found) return values;
        values.reserve(found->keys.size());
        for (auto it = found->keys.constBegin(); it != found->keys.constEnd(); ++it) values.insert(it.key(), valueAt(*it));
        return values;
    }

private:
    // Where a key's value lies in the bytes (after its '='), decoded on demand.
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    struct Section {
        qsizetype start = 0;  // first byte after the header line
        qsizetype end = 0;    // first byte of the next header line
        bool parsed = false;
        QHash<QString, Span> keys;
    };

    QString valueAt(Span span) const {
        return QString::fromUtf8(QByteArrayView(bytes_.constData() + span.start, span.length)).trimmed();
    }

    QByteArrayView lineAt(qsizetype start, qsizetype end) const {
        QByteArrayView raw(bytes_.constData() + start, std::min(end, bytes_.size()) - start);
        if (raw.endsWith('\r')) raw.chop(1);
        return raw;
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
            if (!section.keys.contains(key))
                section.keys.insert(key, Span{lineStart + eq + 1, raw.size() - eq - 1});
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

    const Section* parsed(const QString& name) const {
        const auto it = sections_.find(name.toCaseFolded());
        if (it == sections_.end()) return nullptr;
        Section& section = *it;
        if (!section.parsed) {
            section.parsed = true;
            for (qsizetype start = section.start; start < section.end;) {
                qsizetype end = bytes_.indexOf('\n', start);
                if (end < 0 || end > section.end) end = section.end;
                addKey(section, start, lineAt(start, end));
                start = end + 1;
            }
        }
        return &section;
    }

    QByteArray bytes_;
    // Filled on first use; a ProfileFile and its index serve one thread.
    mutable QHash<QString, Section> sections_;
};

ProfileFile::ProfileFile(QString path, AtomicWriteOptions writeOptions)
    : path_(std::move(path)), writeOptions_(std::move(writeOptions)) {}

ProfileFile ProfileFile::ReadOnce(QString path, AtomicWriteOptions writeOptions) {
    ProfileFile file(std::move(path), std::move(writeOptions));
    QFile f(file.path_);
    file.index_ = std::make_shared<const ProfileIndex>(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    return file;
}

AtomicWriteOptions ProfileFile::ownerOnly() {
    AtomicWriteOptions options;
    options.newFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
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
    return cut(index_ ? index_->value(section, key) : load().value(section, key), kMaxValueLength);
}

QHash<QString, QString> ProfileFile::readSection(const QString& section) const {
    QHash<QString, QString> values = index_ ? index_->sectionValues(section) : load().sectionValues(section);
    for (QString& value : values) value = cut(value, kMaxValueLength);
    return values;
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
