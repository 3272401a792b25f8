#include "startup/module1.h"

#include <cmath>

#include "dialog/form2.h"
#include "startup/password_form.h"
#include "startup/puzzle_form.h"
#include "display/form1.h"
#include "platform/system_calls.h"
#include "platform/vb.h"

namespace startup {

Module1::Module1(platform::Environment& env) : env_(env) {}
Module1::~Module1() = default;

bool Module1::Main(const QString& commandLine, bool previousInstance) {
    if (previousInstance) return false;
    commandLine_ = commandLine;
    const QString choice = commandLine.left(2).toLower();
    if (choice == QLatin1String("/c")) {
        form2_ = std::make_unique<dialog::Form2>(settings, env_);
        form2_->Form_Load();
        form2_->show();
        return true;
    }
    if (choice == QLatin1String("/s")) {
        StartFullScreen();
        return true;
    }
    if (choice == QLatin1String("/p")) {
        ShowPreview();
        return false;
    }
    return false;
}

void Module1::StartFullScreen() {
    form1_ = std::make_unique<display::Form1>(settings, env_, *this);
    form1_->Form_Load();
    form1_->show();
    const int32_t cx = vb::CLng(form1_->ScaleWidth());
    const int32_t cy = vb::CLng(form1_->ScaleHeight());
    windowResult_ = int16_t(env_.system->SetCursorPos(vb::CLng(form1_->ScaleWidth() + 10), vb::CLng(form1_->ScaleHeight() + 10)));
    windowResult_ = int16_t(env_.system->SetWindowPos(form1_.get(), platform::kHwndTopmost, 0, 0, cx, cy,
                                                      platform::kSwpShowWindowNoActivate));
}

void Module1::ReadPlatform() {
    platform::OsVersionInfo info;
    info.size = 148;
    apiResult_ = env_.system->GetVersionExA(info);
    platformId_ = info.platformId;
}

}  // namespace startup
