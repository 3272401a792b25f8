// The per-user runtime folder ($XDG_RUNTIME_DIR) that holds the
// single-instance lock. Where the session provides none, the program makes
// a private one of its own (mode 0700) under the temporary folder and
// publishes it as XDG_RUNTIME_DIR, so Qt and every later run use it too.
#pragma once

#include <QString>

namespace platform {

// The runtime folder to use. When XDG_RUNTIME_DIR is unset, empty or not a
// folder, makes (or reuses) `<tempRoot>/glidorama-runtime-<uid>` and sets
// XDG_RUNTIME_DIR to it. A folder there that is not a private directory of
// this user (a link, another user's) is never used: the result is then
// `tempRoot` itself and the variable is left as it was.
QString PrepareRuntimeFolder(const QString& tempRoot);

}  // namespace platform
