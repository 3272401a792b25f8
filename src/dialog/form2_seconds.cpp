// The seconds box beside "Change Image(s)": typing a number, or stepping it
// with Up, Down, Page Up and Page Down, as its scroll bar does.
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "dialog/form2.h"
#include "dialog/vertical_scroll_bar.h"
#include "settings/effect.h"

namespace dialog {

namespace {

constexpr int kPageOfSeconds = 10;

}  // namespace

int Form2::LowestChangeInterval(const QString& effect) {
    // Float shows one picture at a time, so it can change more often.
    return settings::Effect::TextIs(effect, settings::Effect::Float) ? 3 : 5;
}

bool Form2::takeTypedSeconds() {
    bool isNumber = false;
    const int typed = ChangeImageText->text().trimmed().toInt(&isNumber);
    const int lowest = ChangeImageScroll->Max();
    const int highest = ChangeImageScroll->Min();
    if (isNumber && typed >= lowest && typed <= highest) {
        ChangeImageScroll->setValue_(typed);
        ChangeImageText->setText(QString::number(typed));
        return true;
    }
    explainingSeconds_ = true;
    env_.messages->MsgBox(QStringLiteral("Enter a number of seconds from %1 to %2.").arg(lowest).arg(highest),
                          platform::kExclamation);
    explainingSeconds_ = false;
    ChangeImageText->setModified(true);  // still to be corrected
    // Back in the box with the refused text selected, once the box has closed.
    QTimer::singleShot(0, ChangeImageText, [box = ChangeImageText] {
        box->setFocus();
        box->selectAll();
    });
    ChangeImageText->selectAll();
    return false;
}

void Form2::stepSeconds(int step) {
    bool isNumber = false;
    const int typed = ChangeImageText->text().trimmed().toInt(&isNumber);
    const int from = isNumber ? typed : ChangeImageScroll->Value();
    const int value = std::clamp(from + step, ChangeImageScroll->Max(), ChangeImageScroll->Min());
    ChangeImageScroll->setValue_(value);
    ChangeImageText->setText(QString::number(value));
    ChangeImageText->selectAll();
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ChangeImageText || explainingSeconds_) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        // Leaving the window (another program, a menu) is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (ChangeImageText->isModified()) {
            ChangeImageText->setModified(false);
            takeTypedSeconds();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up: stepSeconds(1); return true;
        case Qt::Key_Down: stepSeconds(-1); return true;
        case Qt::Key_PageUp: stepSeconds(kPageOfSeconds); return true;
        case Qt::Key_PageDown: stepSeconds(-kPageOfSeconds); return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // A refused value keeps the focus; a good one lets the key go on.
            ChangeImageText->setModified(false);
            return !takeTypedSeconds();
        default: return false;
    }
}

}  // namespace dialog
