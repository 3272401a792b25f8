// What makes a password usable at the prompt: the settings file keeps a
// value without its outer blanks, so a password that begins or ends with
// one would never be accepted again.
#pragma once

#include <QString>

namespace dialog {

// The message that explains why `password` cannot be kept, or the empty
// text when it can. Only asked while protection is on.
QString PasswordProblem(const QString& password);

}  // namespace dialog
