#include "support/recorders.h"

namespace platform {

int RecordingMessages::MsgBox(const QString& text, int style, const QString& title) {
    shown.push_back({text, style, title, QString()});
    return AsksYesNo(style) ? answer : kOk;
}

int RecordingMessages::MsgBoxDetails(const QString& text, const QString& details, int style) {
    shown.push_back({text, style, kAppTitle, details});
    return AsksYesNo(style) ? answer : kOk;
}

QStringList RecordingMessages::texts() const {
    QStringList out;
    for (const Shown& s : shown) out << s.text;
    return out;
}

std::optional<QStringList> RecordingDialogs::ShowOpenFiles(QWidget*, const OpenFileRequest& request) {
    openRequests.push_back(request);
    if (fileListAnswers.empty()) {
        if (fileAnswers.empty()) return std::nullopt;
        const QString one = fileAnswers.front();
        fileAnswers.pop_front();
        if (one.isNull()) return std::nullopt;
        return QStringList{one};
    }
    const QStringList answer = fileListAnswers.front();
    fileListAnswers.pop_front();
    if (answer.isEmpty()) return std::nullopt;
    return answer;
}

std::optional<QString> RecordingDialogs::ShowFolder(QWidget*, const QString&, const QString& start) {
    folderRequests.push_back(start);
    if (folderAnswers.empty()) return std::nullopt;
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    if (answer.isNull()) return std::nullopt;
    return answer;
}

std::optional<QColor> RecordingDialogs::ShowColor(QWidget*, const QColor& current) {
    colorRequests.push_back(current);
    if (colorAnswers.empty()) return std::nullopt;
    const QColor answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (!answer.isValid()) return std::nullopt;
    return answer;
}

void RecordingDesktop::setKeyLock(bool on) {
    keyLock = on;
    ++(keyLock ? lockCalls : unlockCalls);
}

void RecordingDesktop::parkPointer(QPoint at) { pointerPositions.push_back(at); }

void RecordingDesktop::placeWindow(QWidget*, QRect area, WindowLayer layer) { placements.push_back({area, layer}); }

}  // namespace platform
