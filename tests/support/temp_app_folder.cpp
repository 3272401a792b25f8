#include "support/temp_app_folder.h"

#include <QDir>
#include <QFile>

namespace testing_support {

TempAppFolder::TempAppFolder() : path_(dir_.path()) {}

void TempAppFolder::writeSettings(const QByteArray& text) const {
    QFile f(file(QStringLiteral("z909ssaver.ini")));
    f.open(QIODevice::WriteOnly);
    f.write(text);
}

QByteArray TempAppFolder::readSettings() const {
    QFile f(file(QStringLiteral("z909ssaver.ini")));
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

void TempAppFolder::makeCacheFolder() const { QDir(path_).mkpath(QStringLiteral("Glidorama")); }

TestEnvironment::TestEnvironment() : env{folder.path(), &clock, &random, &messages, &desktop, &end} {}

}  // namespace testing_support
