#include "settings/settings_io.h"

#include "platform/vb.h"
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

void ReadDisplaySettings(Settings& s, const platform::ProfileFile& file) {
    // These keys are first converted inside display start-up's guarded steps,
    // whose handler reports an unusable value; the others would stop the
    // program outright, so they fall back to their defaults.
    const std::vector<std::pair<QString Settings::*, Fallback>> order = {
        {&Settings::effect, Fallback::WhenUnusable},           {&Settings::pictureCount, Fallback::WhenUnusable},
        {&Settings::cloneCount, Fallback::WhenUnusable},       {&Settings::cloneSpeed, Fallback::WhenMissing},
        {&Settings::splatSpeed, Fallback::WhenMissing},        {&Settings::jumpingSpeed, Fallback::WhenUnusable},
        {&Settings::deckSpeed, Fallback::WhenMissing},         {&Settings::psychedelicSpeed, Fallback::WhenMissing},
        {&Settings::changeInterval, Fallback::WhenUnusable},   {&Settings::clonesPerAdmission, Fallback::WhenUnusable},
        {&Settings::neverChange, Fallback::WhenUnusable},      {&Settings::changeFrequency, Fallback::WhenUnusable},
        {&Settings::mouseSensitivity, Fallback::WhenUnusable}, {&Settings::backgroundColor, Fallback::WhenUnusable},
        {&Settings::shuffle, Fallback::WhenUnusable},
    };
    for (const auto& [variable, fallback] : order) {
        ReadSetting(s, file, variable, fallback);
        if (variable == &Settings::cloneCount) s.cloneCount = vb::CStr(vb::CDbl(s.cloneCount) - 1);
    }
}

std::vector<QString> ReadFloatSettings(Settings& s, const platform::ProfileFile& file, const QString& appPath) {
    std::vector<QString> imageFiles(size_t(vb::CLng(s.pictureCount)) + 1);
    const QStringList pictures = ReadPictureList(s, file, appPath);
    for (int i = 0; i < pictures.size(); ++i) imageFiles[size_t(i)] = pictures[i];
    for (auto variable :
         {&Settings::floatTransition, &Settings::randomTransitions, &Settings::floatStill, &Settings::floatSpeed})
        ReadSetting(s, file, variable);
    ReadSetting(s, file, &Settings::fitToScreen, Fallback::WhenUnusable);
    return imageFiles;
}

void ReadPasswordSettings(Settings& s, const platform::ProfileFile& file) {
    ReadSetting(s, file, &Settings::password);
    ReadSetting(s, file, &Settings::passwordEnabled);
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
