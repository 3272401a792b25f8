#include "startup/module1.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "dialog/form2.h"
#include "startup/command_switch.h"
#include "startup/guarded_application.h"
#include "startup/password_form.h"
#include "startup/preview_picture.h"
#include "startup/screen_guard.h"
#include "platform/signal_watch.h"
#include "display/form1.h"
#include "platform/desktop.h"
#include "runtime/vb.h"

namespace startup {

Module1::Module1(platform::Environment& env) : env_(env) {}
Module1::~Module1() {
    // The application outlives this module: it must not call back into it.
    if (auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance())) app->setLockedFailureHandler({});
}

bool Module1::Main(const QString& commandLine, bool previousInstance) {
    if (previousInstance) return false;
    commandLine_ = commandLine;
    switch (ParseCommandSwitch(commandLine)) {
        case CommandSwitch::Settings:
            form2_ = std::make_unique<dialog::Form2>(dialogSettings_, env_);
            form2_->Form_Load();
            form2_->show();
            return true;
        case CommandSwitch::FullScreen: StartFullScreen(); return true;
        case CommandSwitch::Preview: ShowPreview(); return false;
        case CommandSwitch::None: return false;
    }
    return false;
}

void Module1::StartFullScreen() {
    values = settings::ReadValues(env_.settingsFolder(), env_.samplesHome());
    if (onWayland) {
        StartOnWayland();
        return;
    }
    guardFullScreen();
    if (locks()) setUpLock();
    // One display per monitor, as Qt reports them; a desktop that Qt sees as
    // one large screen gets one display.
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) addDisplay(nullptr);
    for (QScreen* screen : screens) addDisplay(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) { addDisplay(screen); });
    connect(qApp, &QGuiApplication::screenRemoved, this, [this](QScreen* screen) { removeDisplay(screen); });
    display::Form1* first = form1();
    env_.desktop->parkPointer(QPoint(vb::CLng(first->ScaleWidth() + 10), vb::CLng(first->ScaleHeight() + 10)));
    // A failure while the displays came up is shown in front of them.
    if (failedLocked()) bringPromptToFront();
}

void Module1::addDisplay(QScreen* screen) {
    for (const Monitor& m : monitors_)
        if (screen && m.screen == screen) return;
    const QRect area = screen ? screen->geometry() : QRect();
    monitors_.push_back({screen, std::make_unique<display::Form1>(values, env_, *this, area)});
    // A monitor that changes size or place gets a display made for its new
    // geometry: a display keeps the size it was made for.
    if (screen)
        connect(screen, &QScreen::geometryChanged, monitors_.back().display.get(), [this, screen](const QRect& now) {
            auto it =
                std::find_if(monitors_.begin(), monitors_.end(), [&](const Monitor& m) { return m.screen == screen; });
            if (it != monitors_.end() && it->display->geometry() != now) replaceDisplay(screen);
        });
    display::Form1* form = monitors_.back().display.get();
    form->Form_Load();
    form->show();
    const int32_t cx = vb::CLng(form->ScaleWidth());
    const int32_t cy = vb::CLng(form->ScaleHeight());
    const QPoint at = screen ? area.topLeft() : QPoint(0, 0);
    env_.desktop->placeWindow(form, QRect(at, QSize(cx, cy)), platform::WindowLayer::OnTop);
    keepDisplay(form);
    // A monitor plugged in while the prompt is up shows the display, still
    // and taking no input, behind the prompt.
    if (passwordForm_ && passwordForm_->isVisible()) {
        form->setEnabled(false);
        bringPromptToFront();
    }
}

void Module1::removeDisplay(QScreen* screen) {
    // The last display stays: Qt keeps a stand-in screen while none is connected.
    if (monitors_.size() < 2) return;
    auto gone = std::find_if(monitors_.begin(), monitors_.end(), [&](const Monitor& m) { return m.screen == screen; });
    if (gone == monitors_.end()) return;
    std::unique_ptr<display::Form1> display = std::move(gone->display);
    monitors_.erase(gone);
    if (screenGuard_) screenGuard_->forget(display.get());
    // Hidden at once (the key lock moves its grabs to a window still on
    // screen), deleted once the event loop is back: the display may be
    // inside its own call that waits on a message box (its failure path).
    display->stopTimers();
    display->hide();
    display.release()->deleteLater();
    // The prompt may have been on the monitor that went away.
    if (passwordForm_ && passwordForm_->isVisible()) bringPromptToFront();
}

void Module1::replaceDisplay(QScreen* screen) {
    auto it = std::find_if(monitors_.begin(), monitors_.end(), [&](const Monitor& m) { return m.screen == screen; });
    if (it == monitors_.end()) return;
    std::unique_ptr<display::Form1> old = std::move(it->display);
    monitors_.erase(it);
    if (screenGuard_) screenGuard_->forget(old.get());
    addDisplay(screen);
    old->stopTimers();
    old->hide();
    old.release()->deleteLater();
}

std::vector<display::Form1*> Module1::displays() const {
    std::vector<display::Form1*> out;
    for (const Monitor& m : monitors_) out.push_back(m.display.get());
    return out;
}

}  // namespace startup
