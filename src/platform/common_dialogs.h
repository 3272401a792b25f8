// The open-file and colour dialogs. The real ones are Qt's own dialogs
// (not the desktop's), so they behave the same under any session; tests
// swap in a recorder that answers from a queue.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace platform {

// What the program asks of an open-file dialog.
struct OpenFileRequest {
    QString title;
    // Qt filter entries, e.g. "Image files (*.gif *.jpg)".
    QStringList filters;
    // Index into `filters` of the entry shown first.
    int filterIndex = 0;
    // Only an existing file can be chosen.
    bool fileMustExist = true;
};

class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;
    // The chosen file's full path, or nothing when cancelled.
    virtual std::optional<QString> ShowOpen(QWidget* parent, const OpenFileRequest& request) = 0;
    // The chosen colour, or nothing when cancelled. Opens on `current`.
    virtual std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) = 0;
};

class QtCommonDialogs final : public CommonDialogs {
public:
    std::optional<QString> ShowOpen(QWidget* parent, const OpenFileRequest& request) override;
    std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) override;
};

// Records each request and answers with the next queued reply; an empty
// queue, a null path or an invalid colour answers as a cancel.
class RecordingDialogs final : public CommonDialogs {
public:
    std::optional<QString> ShowOpen(QWidget* parent, const OpenFileRequest& request) override;
    std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) override;

    std::deque<QString> fileAnswers;
    std::deque<QColor> colorAnswers;
    std::vector<OpenFileRequest> openRequests;
    std::vector<QColor> colorRequests;
};

}  // namespace platform
