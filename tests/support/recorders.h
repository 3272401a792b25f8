// Recording stand-ins for the outside world: message boxes, the file and
// colour dialogs, the desktop and the program's end. Each records what the
// program asked of it and answers from what the test set up.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/environment.h"
#include "runtime/common_dialogs.h"
#include "runtime/messages.h"

namespace platform {

// Records every message; answers questions with `answer`.
class RecordingMessages final : public MessageSink {
public:
    struct Shown {
        QString text;
        int style;
        QString title;
        QString details;
    };
    int MsgBox(const QString& text, int style, const QString& title = kAppTitle) override;
    int MsgBoxDetails(const QString& text, const QString& details, int style) override;
    QStringList texts() const;
    std::vector<Shown> shown;
    int answer = kYes;
};

// Records each request and answers with the next queued reply; an empty
// queue, a null path or an invalid colour answers as a cancel. A request for
// several files takes the next queued list, or else the next single file.
class RecordingDialogs final : public CommonDialogs {
public:
    std::optional<QColor> ShowColor(QWidget* parent, const QColor& current) override;
    std::optional<QStringList> ShowOpenFiles(QWidget* parent, const OpenFileRequest& request) override;
    std::optional<QString> ShowFolder(QWidget* parent, const QString& title, const QString& start) override;

    std::deque<QStringList> fileListAnswers;
    std::deque<QString> folderAnswers;
    std::vector<QString> folderRequests;  // the folder each folder dialog opened in
    std::deque<QString> fileAnswers;
    std::deque<QColor> colorAnswers;
    std::vector<OpenFileRequest> openRequests;
    std::vector<QColor> colorRequests;
};

// Records every call; the key lock is a flag.
class RecordingDesktop final : public Desktop {
public:
    void setKeyLock(bool on) override;
    void parkPointer(QPoint at) override;
    void placeWindow(QWidget* window, QRect area, WindowLayer layer) override;
    bool keyLockOn() const override { return keyLock; }

    bool keyLock = false;
    int lockCalls = 0;
    int unlockCalls = 0;
    struct Placement {
        QRect area;
        WindowLayer layer;
    };
    std::vector<Placement> placements;
    std::vector<QPoint> pointerPositions;
};

class RecordingEnd final : public ProgramEnd {
public:
    void End(int exitCode = 0) override {
        ended = true;
        this->exitCode = exitCode;
        ++calls;
    }
    bool ended = false;
    int exitCode = 0;
    int calls = 0;
};

}  // namespace platform
