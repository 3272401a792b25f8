// What makes a password usable at the prompt: the settings file keeps a
// value without its outer blanks and only up to a fixed length, so a
// password that relies on either would never be accepted again.
#pragma once

#include <QString>

namespace dialog {

// The message that explains why `password` cannot be kept, or the empty
// text when it can. Only asked while protection is on.
QString PasswordProblem(const QString& password);

}  // namespace dialog
