#include "imagestore/cache_update.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <unistd.h>

#include <optional>
#include <vector>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_record.h"
#include "platform/atomic_file.h"
#include "platform/colors.h"
#include "platform/vb.h"

namespace imagestore {

namespace {

// The colour the copies are drawn on, from the settings text; text that is
// no colour number draws on black, as the display's own fallback does.
QColor BackgroundOf(const QString& backColor) {
    try {
        return platform::FromWindowsColor(vb::CLng(vb::CDbl(backColor)));
    } catch (const vb::RuntimeError&) {
        return Qt::black;
    }
}

constexpr int kPathFileAccessError = 75;

QString CopyPath(const QString& appPath, int number) { return CachedPicturePath(appPath, QString::number(number)); }

// A hidden working name beside cached picture `number`; the leading
// ".Glidorama" marks it as ours, so a killed run's leftovers are found.
QString WorkPath(const QString& appPath, int number, const char* purpose) {
    return CacheFolder(appPath) + QStringLiteral(".Glidorama") + QString::number(number) + QStringLiteral(".dib.") +
           QLatin1String(purpose);
}

QString StampKey(const SourceStamp& s) {
    return s.path + u'\n' + QString::number(s.size) + u'\n' + QString::number(s.modifiedNs) + u'\n' +
           QString::number(s.inode);
}

// Another name for the same bytes: a hard link (no copying, the copy's
// time kept), or a plain copy where the file system has no links.
bool Duplicate(const QString& from, const QString& to) {
    QFile::remove(to);
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return true;
    return QFile::copy(from, to);
}

// The record of copy `number` as it now is on disk.
std::optional<CopyRecord> RecordCopy(const QString& appPath, int number, const SourceStamp& source,
                                     const QString& backColor) {
    const std::optional<SourceStamp> copy = StampOf(CopyPath(appPath, number));
    if (!copy) return std::nullopt;
    CopyRecord record;
    record.source = source;
    record.rulesVersion = kConversionRulesVersion;
    record.backColor = backColor;
    record.copySize = copy->size;
    record.copyModifiedNs = copy->modifiedNs;
    return record;
}

// A recorded copy can stand in for a fresh conversion only when it was made
// by today's rules on today's background and is still the file recorded.
bool Trustworthy(const CopyRecord& record, const QString& appPath, int number, const QString& backColor) {
    if (record.rulesVersion != kConversionRulesVersion || record.backColor != backColor) return false;
    const std::optional<SourceStamp> copy = StampOf(CopyPath(appPath, number));
    return copy && copy->size == record.copySize && copy->modifiedNs == record.copyModifiedNs;
}

}  // namespace

void RemoveStaleTemporaryFiles(const QString& appPath) {
    QDir folder(CacheFolder(appPath));
    const QStringList leftovers = folder.entryList({QStringLiteral(".Glidorama*")},
                                                   QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers) folder.remove(name);
}

BatchResult UpdateCache(const QStringList& pictures, const QString& appPath, const QString& backColor,
                        const std::function<void(int index)>& progress, UpdateCounts* counts) {
    UpdateCounts local;
    UpdateCounts& done = counts ? *counts : local;
    done = {};
    RemoveStaleTemporaryFiles(appPath);
    CacheRecord record = CacheRecord::Load(appPath);
    const int count = int(pictures.size());

    // The trustworthy copies, by the file they were made from.
    QHash<QString, int> copyOf;
    QHash<int, bool> trusted;
    for (auto it = record.copies().cbegin(); it != record.copies().cend(); ++it) {
        const bool ok = Trustworthy(it.value(), appPath, it.key(), backColor);
        trusted.insert(it.key(), ok);
        if (ok && !copyOf.contains(StampKey(it.value().source))) copyOf.insert(StampKey(it.value().source), it.key());
    }

    enum class Plan { Keep, Move, Convert };
    std::vector<Plan> plan(size_t(count), Plan::Convert);
    std::vector<int> moveFrom(size_t(count), -1);
    std::vector<std::optional<SourceStamp>> stamps(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        stamps[size_t(i)] = StampOf(pictures[i]);
        if (!stamps[size_t(i)]) continue;  // missing or unreadable: the conversion reports it
        const CopyRecord* here = record.find(i);
        if (here && trusted.value(i) && here->source == *stamps[size_t(i)]) {
            plan[size_t(i)] = Plan::Keep;
        } else if (const auto it = copyOf.constFind(StampKey(*stamps[size_t(i)])); it != copyOf.constEnd()) {
            plan[size_t(i)] = Plan::Move;
            moveFrom[size_t(i)] = it.value();
        }
    }

    // Before any copy is replaced, the record stops vouching for it, so a
    // run killed half way never leaves an entry that names the wrong file.
    bool forgotten = false;
    for (int i = 0; i < count; ++i)
        if (plan[size_t(i)] != Plan::Keep && record.find(i)) {
            record.forget(i);
            forgotten = true;
        }
    if (forgotten && !record.save(appPath) && QFile::exists(CacheRecordPath(appPath)) &&
        !QFile::remove(CacheRecordPath(appPath))) {
        BatchResult refused;
        refused.failedIndex = 0;
        refused.errorNumber = kPathFileAccessError;
        refused.error = QStringLiteral("Cannot write ") + CacheRecordPath(appPath);
        return refused;
    }

    // Moves: every copy needed elsewhere first gets a second name, so
    // swapped or duplicated entries never overwrite a copy still to be used.
    QHash<int, QString> held;
    for (int i = 0; i < count; ++i) {
        const int from = moveFrom[size_t(i)];
        if (plan[size_t(i)] != Plan::Move || held.contains(from)) continue;
        const QString hold = WorkPath(appPath, from, "hold");
        held.insert(from, Duplicate(CopyPath(appPath, from), hold) ? hold : QString());
    }
    for (int i = 0; i < count; ++i) {
        if (plan[size_t(i)] != Plan::Move) continue;
        const QString hold = held.value(moveFrom[size_t(i)]);
        const QString place = WorkPath(appPath, i, "place");
        const bool placed =
            !hold.isEmpty() && Duplicate(hold, place) && platform::PosixRename(place, CopyPath(appPath, i));
        const std::optional<CopyRecord> moved =
            placed ? RecordCopy(appPath, i, *stamps[size_t(i)], backColor) : std::nullopt;
        if (moved) {
            record.set(i, *moved);
            ++done.moved;
        } else {
            QFile::remove(place);
            plan[size_t(i)] = Plan::Convert;  // converting is the sure way
        }
    }
    for (const QString& hold : held)
        if (!hold.isEmpty()) QFile::remove(hold);

    QStringList toConvert;
    QStringList numbers;
    std::vector<int> positions;
    for (int i = 0; i < count; ++i) {
        if (plan[size_t(i)] == Plan::Keep) ++done.kept;
        if (plan[size_t(i)] != Plan::Convert) continue;
        toConvert << pictures[i];
        numbers << QString::number(i);
        positions.push_back(i);
    }
    // A picture is stamped before it is read: should it change meanwhile,
    // its stamp is already out of date and the next update converts it again.
    BatchResult result = ConvertPicturesInto(
        toConvert, numbers, appPath,
        [&](int job) {
            ++done.converted;
            if (progress) progress(positions[size_t(job)]);
        },
        BackgroundOf(backColor));
    const int convertedWell = result.failedIndex < 0 ? int(positions.size()) : result.failedIndex;
    for (int job = 0; job < convertedWell; ++job) {
        const int i = positions[size_t(job)];
        if (!stamps[size_t(i)]) continue;
        if (const std::optional<CopyRecord> made = RecordCopy(appPath, i, *stamps[size_t(i)], backColor))
            record.set(i, *made);
    }
    if (result.failedIndex >= 0) result.failedIndex = positions[size_t(result.failedIndex)];
    // Without a record every copy is converted next time: slower, never wrong.
    if (!record.save(appPath)) QFile::remove(CacheRecordPath(appPath));
    return result;
}

}  // namespace imagestore
