// Module1: the program's entry routine and the routines the forms share:
// mode dispatch, the full-screen start, the platform family, and the exit
// routines of the display.
#pragma once

#include <QString>

#include <memory>

#include "display/display_host.h"
#include "platform/environment.h"
#include "settings/settings.h"

namespace display { class Form1; }
namespace dialog { class Form2; }

namespace startup {

class Module1 : public display::DisplayHost {
public:
    explicit Module1(platform::Environment& env);
    ~Module1() override;

    // Chooses the mode from the first two characters of the command line
    // (the text after the program name). Returns whether a form is now shown,
    // so the caller runs the event loop.
    bool Main(const QString& commandLine, bool previousInstance);

    void StartFullScreen();
    void ShowPreview();

    // DisplayHost
    void ReadPlatform() override;
    int32_t platformId() const override { return platformId_; }
    void setApiResult(int32_t result) override { apiResult_ = result; }
    void setWindowResult(int32_t result) override { windowResult_ = int16_t(result); }
    void RequestExit() override;
    void CountMouseMove() override;

    settings::Settings settings;
    display::Form1* form1() const { return form1_.get(); }
    dialog::Form2* form2() const { return form2_.get(); }

private:
    platform::Environment& env_;
    QString commandLine_;
    int32_t platformId_ = 0;
    int32_t apiResult_ = 0;
    int16_t windowResult_ = 0;
    std::unique_ptr<display::Form1> form1_;
    std::unique_ptr<dialog::Form2> form2_;
};

}  // namespace startup
