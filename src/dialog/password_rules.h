// What makes a password usable at the prompt: the settings file keeps a
// value without its outer blanks, so a password that begins or ends with
// one would never be accepted again; and the prompt's password box takes
// no control character and at most kMaxPasswordLength characters.
#pragma once

#include <QString>

namespace dialog {

constexpr int kMaxPasswordLength = 1024;

// The message that explains why `password` cannot be kept, or the empty
// text when it can. Only asked while protection is on.
QString PasswordProblem(const QString& password);

// Whether `password` can be typed into the prompt's password box at all.
bool CanBeTyped(const QString& password);

}  // namespace dialog
