#include "settings/settings_io.h"

#include "runtime/vb.h"
#include "settings/defaults.h"

namespace settings {

void ReadSetting(Settings& s, const platform::ProfileFile& file, QString Settings::*variable, Fallback fallback) {
    const KeyInfo& info = *Key(variable);
    QString text = file.read(QLatin1String(info.section), QLatin1String(info.key));
    const bool missing = text.isEmpty() && variable != &Settings::password;
    if (missing || (fallback == Fallback::WhenUnusable && !IsUsable(variable, text))) text = DefaultValue(variable);
    s.*variable = text;
}

QStringList ReadPictureList(Settings& s, const platform::ProfileFile& file, const QString& appPath) {
    QStringList pictures;
    const QStringList samples = DefaultPictures(appPath);
    const int last = vb::CInt(vb::CDbl(s.pictureCount) - 1);
    // A file parsed once answers each key from memory; otherwise the section
    // is read once: reading the file afresh for every key made a long list
    // take seconds.
    const QHash<QString, QString> images =
        file.readsOnce() ? QHash<QString, QString>() : file.readSection(kImagesSection);
    QString key = QStringLiteral("0");
    for (int i = 0; i <= last; ++i) {
        s.imageEntry = file.readsOnce() ? file.read(kImagesSection, key) : images.value(key.toCaseFolded());
        if (s.imageEntry.isEmpty() && i < samples.size()) s.imageEntry = samples[i];
        pictures << s.imageEntry;
        key = vb::CStr(vb::CDbl(key) + 1);
    }
    return pictures;
}

bool WriteAllSettings(Settings& s, const QStringList& pictures, const platform::ProfileFile& file) {
    platform::ProfileDocument doc = file.load();
    doc.removeSection(kImagesSection);
    QList<QPair<QString, QString>> images;
    QString key = QStringLiteral("0");
    for (const QString& picture : pictures) {
        s.imageEntry = picture;
        images.append({key, s.imageEntry});
        key = vb::CStr(vb::CDbl(key) + 1);
    }
    // The whole list in one pass; key by key, a long list took seconds.
    if (!images.isEmpty()) doc.appendSection(kImagesSection, images);
    for (const KeyInfo& info : CommitOrder())
        doc.setValue(QLatin1String(info.section), QLatin1String(info.key), s.*info.variable);
    return file.save(doc);
}

}  // namespace settings
