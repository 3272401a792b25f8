#include "runtime/messages.h"

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
    return show(text, QString(), style, title);
}

int QtMessageBox::MsgBoxDetails(const QString& text, const QString& details, int style) {
    return show(text, details, style, kAppTitle);
}

int QtMessageBox::show(const QString& text, const QString& details, int style, const QString& title) {
    const QString line = details.isEmpty() ? text : text + u' ' + details;
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(OneLine(line)));
    std::fflush(stderr);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return AsksYesNo(style) ? kNo : kOk;
    const bool question = (style & 0x70) == 32;
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Warning, title, text);
    if (!details.isEmpty()) box.setDetailedText(details);
    if (AsksYesNo(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? kYes : kNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kOk;
}

}  // namespace platform
