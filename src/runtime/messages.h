// Message boxes. The real one shows a dialog and writes its text to standard
// error as one line; tests swap in a recorder.
#pragma once

#include <QString>

namespace platform {

// Styles and results the program uses.
enum MsgBoxStyle : int { kExclamation = 48, kYesNoExclamation = 52, kYesNoQuestion = 36 };
enum MsgBoxResult : int { kOk = 1, kYes = 6, kNo = 7 };

// The application title, shown on every message box.
inline const QString kAppTitle = QStringLiteral("Glidorama");

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int MsgBox(const QString& text, int style, const QString& title = kAppTitle) = 0;
    // A message with a longer part the user can unfold (a list of files).
    // Where there is no such part, it follows the text.
    virtual int MsgBoxDetails(const QString& text, const QString& details, int style) {
        return MsgBox(details.isEmpty() ? text : text + QStringLiteral("\r\n\r\n") + details, style);
    }
};

// Whether the style asks Yes or No.
inline bool AsksYesNo(int style) { return (style & 7) == 4; }

class QtMessageBox final : public MessageSink {
public:
    int MsgBox(const QString& text, int style, const QString& title = kAppTitle) override;
    int MsgBoxDetails(const QString& text, const QString& details, int style) override;

private:
    int show(const QString& text, const QString& details, int style, const QString& title);
};

// The text as one line for standard error.
QString OneLine(const QString& text);

}  // namespace platform
