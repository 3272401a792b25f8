// Module1's exit routines: counting mouse moves, the exit request, and the
// two outcomes of the password prompt.
#include <limits>

#include "display/form1.h"
#include "platform/desktop.h"
#include "runtime/vb.h"
#include "startup/module1.h"
#include "startup/password_form.h"

namespace startup {

void Module1::CountMouseMove() {
    // The count stops at the largest 16-bit value instead of overflowing:
    // across midnight the move window never expires, and with a sensitivity
    // that no count reaches the moves would otherwise crash the saver.
    if (mouseMoveCount_ < std::numeric_limits<int16_t>::max()) ++mouseMoveCount_;
    if (values.mouseSensitivity == mouseMoveCount_) RequestExit();
    const double now = env_.clock->Timer();
    if (moveWindowStart_ == 0) {
        moveWindowStart_ = vb::CLng(now);
        return;
    }
    if (now - moveWindowStart_ > 2) {
        moveWindowStart_ = 0;
        mouseMoveCount_ = 0;
    }
}

void Module1::RequestExit() {
    // Protection on with no password stored, or one that could never be
    // typed, could not be lifted at the prompt (Enter on an empty box
    // resumes): it ends as if none were set.
    if (!locks()) {
        env_.end->End(0);
        return;
    }
    if (PromptOnWayland()) return;
    if (monitors_.empty()) return;
    // Without a prompt (another program destroyed it and there was no
    // memory to make it again) the displays take the next key too.
    if (!promptMade()) return;
    // Every monitor's display stays, animating and taking no input, behind
    // the prompt.
    for (display::Form1* form : displays()) {
        form->setEnabled(false);
        env_.desktop->placeWindow(
            form, QRect(form->pos(), QSize(vb::CLng(form->ScaleWidth()), vb::CLng(form->ScaleHeight()))),
            platform::WindowLayer::InPlace);
    }
    passwordForm_->setFailureMessage(lockedFailure_);
    passwordForm_->setVisible(true);
    passwordForm_->ShowModeless();
    keepPrompt();
}

void Module1::CheckPassword() {
    const QString typed = passwordForm_->passwordText();
    if (typed == values.password) {
        releaseKeyLock();
        // A run that failed behind the lock still ends as a failure.
        env_.end->End(failedLocked() ? 1 : 0);
        return;
    }
    passwordForm_->setWrongPassVisible(true);
    passwordForm_->setPasswordText(QString());
}

void Module1::ResumeSaver() {
    // After a failure there is no saver to go back to: the message stays.
    if (failedLocked()) return;
    display::Form1* first = form1();
    env_.desktop->parkPointer(QPoint(vb::CLng(first->ScaleWidth() + 10), vb::CLng(first->ScaleHeight() + 10)));
    for (display::Form1* form : displays()) {
        form->show();
        form->setEnabled(true);
        env_.desktop->placeWindow(
            form, QRect(form->pos(), QSize(vb::CLng(form->ScaleWidth()), vb::CLng(form->ScaleHeight()))),
            platform::WindowLayer::OnTop);
        keepDisplay(form);
    }
    passwordForm_->setVisible(false);
}

}  // namespace startup
