#include "imagestore/cache_update.h"

#include <QDir>
#include <QFile>
#include <QCryptographicHash>
#include <QHash>
#include <QSet>

#include <unistd.h>

#include <optional>
#include <vector>

#include "imagestore/cache_paths.h"
#include "imagestore/cache_record.h"
#include "platform/atomic_file.h"
#include "runtime/colors.h"
#include "runtime/vb.h"

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

// A copy made, but not yet a cached picture, for the source with this stamp.
QString PreparedName(const QString& stampKey) {
    return QStringLiteral("Glidorama-") +
           QString::fromLatin1(QCryptographicHash::hash(stampKey.toUtf8(), QCryptographicHash::Sha1).toHex().left(20)) +
           QStringLiteral(".prepared");
}

// The record of the copy at `copyPath` as it now is on disk.
std::optional<CopyRecord> RecordCopy(const QString& copyPath, const SourceStamp& source, const QString& backColor,
                                     bool transparent, double scale) {
    const std::optional<SourceStamp> copy = StampOf(copyPath);
    if (!copy) return std::nullopt;
    CopyRecord record;
    record.source = source;
    record.rulesVersion = kConversionRulesVersion;
    record.backColor = backColor;
    record.transparent = transparent;
    record.scale = scale;
    record.copySize = copy->size;
    record.copyModifiedNs = copy->modifiedNs;
    return record;
}

// A recorded copy can stand in for a fresh conversion only when it was made
// by today's rules, for today's scale, on today's background unless its
// source is opaque, and is still the file recorded.
bool Trustworthy(const CopyRecord& record, const QString& copyPath, const QString& backColor, double scale) {
    if (record.rulesVersion != kConversionRulesVersion || record.scale != scale) return false;
    if (record.transparent && record.backColor != backColor) return false;
    const std::optional<SourceStamp> copy = StampOf(copyPath);
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
                        const std::function<void(int index)>& progress, UpdateCounts* counts,
                        const std::function<bool()>& keepGoing, double scale) {
    UpdateCounts local;
    UpdateCounts& done = counts ? *counts : local;
    done = {};
    RemoveStaleTemporaryFiles(appPath);
    CacheRecord record = CacheRecord::Load(appPath);
    const int count = int(pictures.size());
    const QString folder = CacheFolder(appPath);
    // Prepared copies the record does not know (a run killed before saving it) are of no use.
    for (const QString& name : QDir(folder).entryList({QStringLiteral("Glidorama-*.prepared")}, QDir::Files))
        if (!record.prepared().contains(name)) QFile::remove(folder + name);

    // The trustworthy copies, by the file they were made from.
    QHash<QString, int> copyOf;
    QHash<int, bool> trusted;
    for (auto it = record.copies().cbegin(); it != record.copies().cend(); ++it) {
        const bool ok = Trustworthy(it.value(), CopyPath(appPath, it.key()), backColor, scale);
        trusted.insert(it.key(), ok);
        if (ok && !copyOf.contains(StampKey(it.value().source))) copyOf.insert(StampKey(it.value().source), it.key());
    }

    // Keep: in place. Move: another position's copy. Adopt: a prepared copy.
    enum class Plan { Keep, Move, Adopt, Convert };
    std::vector<Plan> plan(size_t(count), Plan::Convert);
    std::vector<int> moveFrom(size_t(count), -1);
    std::vector<std::optional<SourceStamp>> stamps(static_cast<size_t>(count));
    std::vector<bool> transparent(size_t(count), true);
    for (int i = 0; i < count; ++i) {
        stamps[size_t(i)] = StampOf(pictures[i]);
        if (!stamps[size_t(i)]) continue;  // missing or unreadable: the conversion reports it
        const QString key = StampKey(*stamps[size_t(i)]);
        const CopyRecord* here = record.find(i);
        const auto ready = record.prepared().constFind(PreparedName(key));
        if (here && trusted.value(i) && here->source == *stamps[size_t(i)]) {
            plan[size_t(i)] = Plan::Keep;
        } else if (const auto it = copyOf.constFind(key); it != copyOf.constEnd()) {
            plan[size_t(i)] = Plan::Move;
            moveFrom[size_t(i)] = it.value();
            transparent[size_t(i)] = record.find(it.value())->transparent;
        } else if (ready != record.prepared().constEnd() && ready->source == *stamps[size_t(i)] &&
                   Trustworthy(*ready, folder + ready.key(), backColor, scale)) {
            plan[size_t(i)] = Plan::Adopt;
            transparent[size_t(i)] = ready->transparent;
        }
    }

    // Conversions first, into prepared files: until every one is made, no
    // cached picture changes, so stopping half way leaves the cache as it was.
    QStringList toConvert;
    QStringList targets;
    std::vector<int> positions;
    for (int i = 0; i < count; ++i) {
        if (plan[size_t(i)] == Plan::Keep) ++done.kept;
        if (plan[size_t(i)] != Plan::Convert) continue;
        toConvert << pictures[i];
        targets << folder + PreparedName(stamps[size_t(i)] ? StampKey(*stamps[size_t(i)]) : pictures[i]);
        positions.push_back(i);
    }
    // A picture is stamped before it is read: should it change meanwhile,
    // its stamp is already out of date and the next update converts it again.
    BatchResult result = ConvertPicturesTo(
        toConvert, targets,
        [&](int job) {
            ++done.converted;
            if (progress) progress(positions[size_t(job)]);
        },
        BackgroundOf(backColor), keepGoing, scale);
    for (int job = 0; job < result.completed; ++job) {
        const int i = positions[size_t(job)];
        plan[size_t(i)] = Plan::Adopt;
        transparent[size_t(i)] = result.transparent[size_t(job)];
        if (!stamps[size_t(i)]) continue;
        if (const std::optional<CopyRecord> made =
                RecordCopy(targets[job], *stamps[size_t(i)], backColor, transparent[size_t(i)], scale))
            record.setPrepared(PreparedName(StampKey(*stamps[size_t(i)])), *made);
    }
    if (result.failedIndex >= 0) result.failedIndex = positions[size_t(result.failedIndex)];
    if (result.cancelled) {
        // What was made waits in the record for the next update.
        if (!record.save(appPath)) QFile::remove(CacheRecordPath(appPath));
        return result;
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
    // Each moved or prepared copy takes its place under a working name first.
    QSet<QString> adopted;
    for (int i = 0; i < count; ++i) {
        QString source;
        if (plan[size_t(i)] == Plan::Move) {
            source = held.value(moveFrom[size_t(i)]);
        } else if (plan[size_t(i)] == Plan::Adopt && stamps[size_t(i)]) {
            source = folder + PreparedName(StampKey(*stamps[size_t(i)]));
            adopted.insert(PreparedName(StampKey(*stamps[size_t(i)])));
        } else {
            continue;
        }
        const QString place = WorkPath(appPath, i, "place");
        const bool placed =
            !source.isEmpty() && Duplicate(source, place) && platform::PosixRename(place, CopyPath(appPath, i));
        const std::optional<CopyRecord> copy =
            placed ? RecordCopy(CopyPath(appPath, i), *stamps[size_t(i)], backColor, transparent[size_t(i)], scale)
                   : std::nullopt;
        if (copy) {
            record.set(i, *copy);
            if (plan[size_t(i)] == Plan::Move) ++done.moved;
        } else {
            QFile::remove(place);
            if (result.failedIndex < 0 || i < result.failedIndex) {
                // Not in place: stop here, as a failed conversion would.
                result = {i, QStringLiteral("Cannot write ") + CopyPath(appPath, i), kPathFileAccessError, {}, false, 0,
                          {}};
            }
        }
    }
    for (const QString& hold : held)
        if (!hold.isEmpty()) QFile::remove(hold);
    // Once every picture is in place, no prepared copy is needed any more.
    for (const QString& name : record.prepared().keys())
        if (result.failedIndex < 0 || adopted.contains(name)) {
            record.forgetPrepared(name);
            QFile::remove(folder + name);
        }
    // Without a record every copy is converted next time: slower, never wrong.
    if (!record.save(appPath)) QFile::remove(CacheRecordPath(appPath));
    return result;
}

}  // namespace imagestore
