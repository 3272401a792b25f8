#include "platform/remembered_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/atomic_file.h"

namespace platform {

namespace {

QString StateFile() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/glidorama/last-picture-folder");
}

}  // namespace

QString RememberedPictureFolder() {
    QFile file(StateFile());
    if (file.open(QIODevice::ReadOnly)) {
        const QString folder = QString::fromUtf8(file.read(64 * 1024)).trimmed();
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
    return QDir::homePath();
}

void RememberPictureFolder(const QString& folder) {
    if (folder.isEmpty()) return;
    const QString path = StateFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFileAtomically(path, folder.toUtf8() + '\n');
}

}  // namespace platform
