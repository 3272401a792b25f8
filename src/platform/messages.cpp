#include "platform/messages.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace platform {

QString OneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    return line;
}

int QtMessageBox::MsgBox(const QString& text, int style, const QString& title) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(OneLine(text)));
    std::fflush(stderr);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return style == kYesNoExclamation ? kNo : kOk;
    QMessageBox box(QMessageBox::Warning, title, text);
    if (style == kYesNoExclamation) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? kYes : kNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kOk;
}

int RecordingMessages::MsgBox(const QString& text, int style, const QString& title) {
    shown.push_back({text, style, title});
    return style == kYesNoExclamation ? answer : kOk;
}

QStringList RecordingMessages::texts() const {
    QStringList out;
    for (const Shown& s : shown) out << s.text;
    return out;
}

}  // namespace platform
