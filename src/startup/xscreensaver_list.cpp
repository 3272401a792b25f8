#include "startup/xscreensaver_list.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

#include "platform/atomic_file.h"

namespace startup {

namespace {

using Lines = QList<QByteArray>;

// The lines of the setting: `first` holds the key, whose value begins at
// `valueStart`; every line but `last` ends in a backslash.
struct Block {
    qsizetype first = 0;
    qsizetype last = 0;
    qsizetype valueStart = 0;
};

bool Continues(const QByteArray& line) { return line.endsWith('\\'); }

std::optional<Block> FindPrograms(const Lines& lines) {
    // "programs:" in ~/.xscreensaver, "*programs:" in the app-defaults file.
    static const QRegularExpression key(QStringLiteral(R"(^\s*(\*|XScreenSaver[.*])?programs\s*:)"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = key.match(QString::fromLatin1(lines[i]));
        if (!match.hasMatch()) continue;
        Block block{i, i, match.capturedEnd()};
        while (Continues(lines[block.last]) && block.last + 1 < lines.size()) ++block.last;
        return block;
    }
    return std::nullopt;
}

// Line `i` of the block without the key.
QByteArray ValuePart(const Lines& lines, const Block& block, qsizetype i) {
    return i == block.first ? lines[i].mid(block.valueStart) : lines[i];
}

// An entry that runs this program, by its bare name or a path to it.
bool RunsGlidorama(const QByteArray& value) {
    static const QRegularExpression command(QStringLiteral(R"((^|[\s/])glidorama(\s|\\|$))"));
    return command.match(QString::fromLatin1(value)).hasMatch();
}

// Where Glidorama is listed: the line, and the number of entries before it.
std::optional<std::pair<qsizetype, int>> FindGlidorama(const Lines& lines, const Block& block) {
    int entries = 0;
    for (qsizetype i = block.first; i <= block.last; ++i) {
        QByteArray value = ValuePart(lines, block, i);
        if (RunsGlidorama(value)) return std::pair{i, entries};
        if (Continues(value)) value.chop(1);
        if (value.trimmed().endsWith("\\n")) ++entries;
    }
    return std::nullopt;
}

// Moves "selected:" by `delta` when it names entry `from` or a later one.
void ShiftSelected(Lines& lines, int from, int delta) {
    static const QRegularExpression selected(QStringLiteral(R"(^(\s*selected\s*:\s*)(\d+)(.*)$)"));
    for (QByteArray& line : lines) {
        const QRegularExpressionMatch match = selected.match(QString::fromLatin1(line));
        if (!match.hasMatch() || match.captured(2).toInt() < from) continue;
        line = (match.captured(1) + QString::number(match.captured(2).toInt() + delta) + match.captured(3)).toLatin1();
    }
}

// Appends the daemon's default list to a file that has none.
Block AppendDefaultList(Lines& lines, const Lines& defaults, const Block& defaultBlock) {
    const QByteArray key = "programs:";
    Lines list = defaults.mid(defaultBlock.first, defaultBlock.last - defaultBlock.first + 1);
    list[0] = key + list[0].mid(defaultBlock.valueStart);
    // The text ends in a newline (an empty last line) unless it is empty.
    if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    const qsizetype first = lines.size();
    lines << list << QByteArray();
    return Block{first, first + list.size() - 1, key.size()};
}

}  // namespace

ListEdit WithGlidoramaListed(const QByteArray& file, const QByteArray& appDefaults) {
    Lines lines = file.split('\n');
    std::optional<Block> block = FindPrograms(lines);
    if (block && FindGlidorama(lines, *block)) return {ListEdit::Unchanged, file};
    if (!block) {
        const Lines defaults = appDefaults.split('\n');
        const std::optional<Block> defaultBlock = FindPrograms(defaults);
        if (!defaultBlock) return {ListEdit::NoList, file};
        block = AppendDefaultList(lines, defaults, *defaultBlock);
    }
    // The entry goes first: after the key's line when the list begins on
    // the next line, else between the key and the rest of its line.
    const QByteArray entry = "\t\t" + QByteArray(kXScreenSaverEntry) + " \\n";
    const QByteArray rest = lines[block->first].mid(block->valueStart).trimmed();
    if (rest == "\\") {
        lines.insert(block->first + 1, entry + '\\');
    } else {
        const QByteArray key = lines[block->first].left(block->valueStart);
        lines[block->first] = key + "\t\t\\";
        lines.insert(block->first + 1, rest.isEmpty() ? entry : entry + '\\');
        if (!rest.isEmpty()) lines.insert(block->first + 2, "\t\t" + rest);
    }
    ShiftSelected(lines, 0, 1);
    return {ListEdit::Changed, lines.join('\n')};
}

ListEdit WithoutGlidorama(const QByteArray& file) {
    Lines lines = file.split('\n');
    bool changed = false;
    while (const std::optional<Block> block = FindPrograms(lines)) {
        const auto found = FindGlidorama(lines, *block);
        if (!found) break;
        const auto [line, entry] = *found;
        changed = true;
        Block left = *block;
        if (line == block->first) {
            lines[line] = lines[line].left(block->valueStart) + (Continues(lines[line]) ? "\t\t\\" : "");
        } else {
            lines.remove(line);
            --left.last;
            // The entry was the list's last line: the line before it ends the list now.
            if (line == block->last && Continues(lines[left.last])) lines[left.last].chop(1);
        }
        bool empty = true;
        for (qsizetype i = left.first; i <= left.last; ++i) {
            QByteArray value = ValuePart(lines, left, i);
            if (Continues(value)) value.chop(1);
            if (!value.trimmed().isEmpty()) empty = false;
        }
        if (empty) lines.remove(left.first, left.last - left.first + 1);
        ShiftSelected(lines, entry + 1, -1);
    }
    return {changed ? ListEdit::Changed : ListEdit::Unchanged, lines.join('\n')};
}

QStringList XScreenSaverAppDefaults() {
    return {QStringLiteral("/etc/X11/app-defaults/XScreenSaver"),
            QStringLiteral("/usr/share/X11/app-defaults/XScreenSaver"),
            QStringLiteral("/usr/lib/X11/app-defaults/XScreenSaver")};
}

namespace {

std::optional<QByteArray> ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

int Report(FILE* stream, const QString& text, int status) {
    std::fprintf(stream, "%s\n", qPrintable(text));
    return status;
}

}  // namespace

int AddToXScreenSaver(const QString& path, const QStringList& appDefaults) {
    QByteArray text;
    if (QFileInfo::exists(path)) {
        const auto read = ReadWhole(path);
        if (!read) return Report(stderr, QStringLiteral("Glidorama: cannot read %1.").arg(path), 1);
        text = *read;
    }
    QByteArray defaults;
    for (const QString& candidate : appDefaults)
        if (const auto read = ReadWhole(candidate)) {
            defaults = *read;
            break;
        }
    const ListEdit edit = WithGlidoramaListed(text, defaults);
    if (edit.outcome == ListEdit::Unchanged)
        return Report(stdout, QStringLiteral("%1 lists Glidorama already.").arg(path), 0);
    if (edit.outcome == ListEdit::NoList)
        return Report(stderr,
                      QStringLiteral("Glidorama: %1 has no list of savers and XScreenSaver's defaults were not found "
                                     "(is XScreenSaver installed?).")
                          .arg(path),
                      1);
    if (!platform::WriteFileAtomically(path, edit.text))
        return Report(stderr, QStringLiteral("Glidorama: cannot write %1.").arg(path), 1);
    return Report(stdout,
                  QStringLiteral("Glidorama is now the first saver in %1.\n"
                                 "Choose it in xscreensaver-settings, or try it: xscreensaver-command -select 1")
                      .arg(path),
                  0);
}

int RemoveFromXScreenSaver(const QString& path) {
    if (!QFileInfo::exists(path)) return Report(stdout, QStringLiteral("%1 does not exist.").arg(path), 0);
    const auto text = ReadWhole(path);
    if (!text) return Report(stderr, QStringLiteral("Glidorama: cannot read %1.").arg(path), 1);
    const ListEdit edit = WithoutGlidorama(*text);
    if (edit.outcome == ListEdit::Unchanged)
        return Report(stdout, QStringLiteral("%1 does not list Glidorama.").arg(path), 0);
    if (!platform::WriteFileAtomically(path, edit.text))
        return Report(stderr, QStringLiteral("Glidorama: cannot write %1.").arg(path), 1);
    return Report(stdout, QStringLiteral("Glidorama is no longer listed in %1.").arg(path), 0);
}

}  // namespace startup
