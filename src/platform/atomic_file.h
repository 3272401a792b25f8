// Replacing a file's whole content so that a crash or a failed step never
// leaves a half-written file behind: the bytes go to a temporary file in the
// same folder, which is flushed and then renamed over the target.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>

namespace platform {

// The rename step, replaceable so tests can make it fail.
using RenameFunction = std::function<bool(const QString& from, const QString& to)>;
bool PosixRename(const QString& from, const QString& to);

struct AtomicWriteOptions {
    // Permissions of a file created anew; an existing file keeps its own
    // unless `alwaysNewFilePermissions` is set (a file that may hold a
    // secret is narrowed to these permissions on every write).
    QFileDevice::Permissions newFilePermissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    bool alwaysNewFilePermissions = false;
    RenameFunction rename = PosixRename;
};

// Returns false, leaving any existing file untouched, when a step fails.
// A `path` that is a symbolic link stays one: the file it points to (through
// any chain of links) is the one replaced.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, const AtomicWriteOptions& options = {});

}  // namespace platform
