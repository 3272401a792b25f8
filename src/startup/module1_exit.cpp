// Module1's exit routines: counting mouse moves, the exit request, and the
// two outcomes of the password prompt.
#include <limits>

#include "display/form1.h"
#include "platform/system_calls.h"
#include "platform/vb.h"
#include "startup/module1.h"
#include "startup/password_form.h"

namespace startup {

void Module1::CountMouseMove() {
    // The count stops at the largest 16-bit value instead of overflowing:
    // across midnight the move window never expires, and with a sensitivity
    // that no count reaches the moves would otherwise crash the saver.
    if (mouseMoveCount_ < std::numeric_limits<int16_t>::max()) ++mouseMoveCount_;
    if (vb::CDbl(settings.mouseSensitivity) == mouseMoveCount_) RequestExit();
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
    if (vb::CDbl(settings.saverEnabled) != 1) {
        env_.end->End(0);
        return;
    }
    if (!form1_) return;
    form1_->setEnabled(false);
    windowResult_ = int16_t(env_.system->SetWindowPos(form1_.get(), platform::kHwndNoTopmost, 0, 0,
                                                      vb::CLng(form1_->ScaleWidth()), vb::CLng(form1_->ScaleHeight()),
                                                      platform::kSwpShowWindowNoActivate));
    if (!passwordForm_) {
        passwordForm_ = std::make_unique<PasswordForm>(*this);
        passwordForm_->Form_Load();
    }
    passwordForm_->setVisible(true);
    passwordForm_->ShowModeless();
}

void Module1::CheckPassword() {
    const QString typed = passwordForm_->passwordText();
    if (typed == settings.saverPassword) {
        if (vb::CDbl(settings.saverEnabled) == 1 && platformId_ != platform::kPlatformNT)
            apiResult_ = env_.system->SystemParametersInfoA(platform::kSpiScreenSaverRunning, 0);
        env_.end->End(0);
        return;
    }
    passwordForm_->setWrongPassVisible(true);
    passwordForm_->setPasswordText(QString());
}

void Module1::ResumeSaver() {
    windowResult_ = int16_t(env_.system->SetCursorPos(vb::CLng(form1_->ScaleWidth() + 10),
                                                      vb::CLng(form1_->ScaleHeight() + 10)));
    form1_->show();
    form1_->setEnabled(true);
    windowResult_ = int16_t(env_.system->SetWindowPos(form1_.get(), platform::kHwndTopmost, 0, 0,
                                                      vb::CLng(form1_->ScaleWidth()), vb::CLng(form1_->ScaleHeight()),
                                                      platform::kSwpShowWindowNoActivate));
    passwordForm_->setVisible(false);
}

}  // namespace startup
