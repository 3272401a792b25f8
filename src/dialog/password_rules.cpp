#include "dialog/password_rules.h"

namespace dialog {

QString PasswordProblem(const QString& password) {
    if (password.isEmpty()) return QString();  // the dialog's own checks speak for an empty one
    if (password.trimmed().isEmpty()) return QStringLiteral("The 'Password' cannot be made of blanks only.");
    if (password.front().isSpace() || password.back().isSpace())
        return QStringLiteral("The 'Password' cannot begin or end with a blank.");
    return QString();
}

}  // namespace dialog
