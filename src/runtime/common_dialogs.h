// The open-file and colour dialogs. The real ones are Qt's own dialogs
// (not the desktop's), so they behave the same under any session; tests
// swap in a recorder that answers from a queue.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace platform {

// What the program asks of an open-file dialog.
struct OpenFileRequest {
    QString title;
    // Qt filter entries, e.g. "Image files (*.gif *.jpg)".
    QStringList filters;
    // Index into `filters` of the entry shown first.
    int filterIndex = 0;
    // The folder the dialog opens in; empty for the dialog's own choice.
    QString folder;
};

class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;
    // The chosen colour, or nothing when cancelled. Opens on `current`.
    virtual std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) = 0;
    // Several existing files chosen at once (Ctrl- and Shift-click, or
    // several quoted names typed), in the dialog's order; nothing when cancelled.
    virtual std::optional<QStringList> ShowOpenFiles(QWidget* parent, const OpenFileRequest& request) = 0;
    // An existing folder, or nothing when cancelled. Opens in `start`.
    virtual std::optional<QString> ShowFolder(QWidget* parent, const QString& title, const QString& start) = 0;
};

class QtCommonDialogs final : public CommonDialogs {
public:
    std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) override;
    std::optional<QStringList> ShowOpenFiles(QWidget* parent, const OpenFileRequest& request) override;
    std::optional<QString> ShowFolder(QWidget* parent, const QString& title, const QString& start) override;
};

}  // namespace platform
