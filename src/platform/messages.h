// Message boxes. The real one shows a dialog and writes its text to standard
// error as one line; tests swap in a recorder.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// Styles and results the program uses.
enum MsgBoxStyle : int { kExclamation = 48, kYesNoExclamation = 52 };
enum MsgBoxResult : int { kOk = 1, kYes = 6, kNo = 7 };

// The application title, shown on every message box.
inline const QString kAppTitle = QStringLiteral("Glidorama");

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int MsgBox(const QString& text, int style, const QString& title = kAppTitle) = 0;
};

class QtMessageBox final : public MessageSink {
public:
    int MsgBox(const QString& text, int style, const QString& title = kAppTitle) override;
};

// Records every message; answers questions with `answer`.
class RecordingMessages final : public MessageSink {
public:
    struct Shown {
        QString text;
        int style;
        QString title;
    };
    int MsgBox(const QString& text, int style, const QString& title = kAppTitle) override;
    QStringList texts() const;
    std::vector<Shown> shown;
    int answer = kYes;
};

// The text as one line for standard error.
QString OneLine(const QString& text);

}  // namespace platform
