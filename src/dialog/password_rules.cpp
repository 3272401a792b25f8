#include "dialog/password_rules.h"

#include <algorithm>

namespace dialog {

namespace {
// Tab moves between the prompt's boxes and Enter submits: neither, nor any
// other control character, ever reaches the password box.
bool HasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}
}  // namespace

bool CanBeTyped(const QString& password) {
    return password.size() <= kMaxPasswordLength && !HasControlCharacter(password);
}

QString PasswordProblem(const QString& password) {
    if (password.isEmpty()) return QString();  // the dialog's own checks speak for an empty one
    if (password.trimmed().isEmpty()) return QStringLiteral("The 'Password' cannot be made of blanks only.");
    if (HasControlCharacter(password))
        return QStringLiteral(
            "The 'Password' cannot hold a Tab, a line break or another control character: it could not be "
            "typed at the password prompt.");
    if (password.size() > kMaxPasswordLength)
        return QStringLiteral("The 'Password' cannot be longer than %1 characters.").arg(kMaxPasswordLength);
    if (password.front().isSpace() || password.back().isSpace())
        return QStringLiteral("The 'Password' cannot begin or end with a blank.");
    return QString();
}

}  // namespace dialog
