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

ProfileFile::ProfileFile(QString path, AtomicWriteOptions writeOptions)
    : path_(std::move(path)), writeOptions_(std::move(writeOptions)) {}

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
    return WriteFileAtomically(path_, document.serialize(), writeOptions_);
}

QString ProfileFile::read(const QString& section, const QString& key) const {
    return load().value(section, key);
}

QHash<QString, QString> ProfileFile::readSection(const QString& section) const {
    return load().sectionValues(section);
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
