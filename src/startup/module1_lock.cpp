// Module1's lock for "/s" with a password: what unlocks it, setting it up
// before anything shows, and keeping its windows in place.
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <csignal>
#include <cstdio>
#include <exception>
#include <malloc.h>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

#include "dialog/password_rules.h"
#include "display/form1.h"
#include "platform/desktop.h"
#include "startup/module1.h"
#include "startup/password_form.h"
#include "startup/screen_guard.h"

namespace startup {

namespace {
// Displays lie under the prompt.
constexpr int kDisplayLayer = 0;
constexpr int kPromptLayer = 1;
// Setting up the lock may stall rather than fail (Qt waits forever for a
// helper thread that could not start): past this the program gives up.
constexpr unsigned kSetUpLimitSeconds = 15;

// What the saver may still need once locked: a display's buffers for a
// large monitor, the prompt's painting, pictures being decoded. Without
// that much address space left it would crash behind the lock later.
constexpr size_t kHeadroomBytes = size_t(32) << 20;

bool HasHeadroom() {
    void* room = ::mmap(nullptr, kHeadroomBytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED) return false;
    ::munmap(room, kHeadroomBytes);
    return true;
}

extern "C" void EndSetUpTooLong(int) {
    static const char message[] =
        "Glidorama: the screen cannot be locked (setting it up stalled); the saver does not start.\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(1);  // the X server drops the grabs with the connection
}
}  // namespace

bool Module1::locks() const {
    return values.passwordEnabled && !values.password.isEmpty() && dialog::CanBeTyped(values.password);
}

void Module1::setUpLock() {
    struct sigaction stalled {};
    stalled.sa_handler = EndSetUpTooLong;
    sigemptyset(&stalled.sa_mask);
    ::sigaction(SIGALRM, &stalled, nullptr);
    ::alarm(kSetUpLimitSeconds);
    // Each thread that allocates would otherwise get a memory pool of its
    // own, 64 MB of address space apiece: the threads that decode pictures
    // share the pools there are, so that an address-space limit leaves
    // room for what the locked screen still needs to draw.
    ::mallopt(M_ARENA_MAX, 1);
    try {
        // Threads the program and Qt may need while locked (Qt starts some
        // on first use) must be possible: one that cannot start fails here,
        // before anything is held, not behind the lock.
        std::thread([] {}).join();
        if (!HasHeadroom()) failLockSetUp("not enough memory left to hold it");
        // The prompt is made first, hidden, with everything it needs (native
        // window, fonts, pixels): a prompt that cannot be made later would
        // leave the screen locked for good or open it.
        makePasswordForm();
        // The grabs: from here on nothing typed reaches another program.
        takeKeyLock();
        screenGuard_ = OpenScreenGuard([this](QWidget* window) { remakeDestroyed(window); },
                                       [this] { return env_.desktop->keyLockOn(); });
        if (screenGuard_ && !screenGuard_->waitUntilCovering()) failLockSetUp("the X server does not answer");
        ::alarm(0);
    } catch (const std::exception& e) {
        failLockSetUp(QString::fromLocal8Bit(e.what()));
    }
}

void Module1::failLockSetUp(const QString& why) {
    std::fprintf(stderr, "Glidorama: the screen cannot be locked (%s); the saver does not start.\n",
                 qPrintable(why));
    releaseKeyLock();
    screenGuard_.reset();
    env_.end->End(1);
    std::abort();  // only a test's end returns
}

void Module1::makePasswordForm() {
    if (passwordForm_) return;
    auto form = std::make_unique<PasswordForm>(*this);
    form->Form_Load();
    form->prepare();
    passwordForm_ = std::move(form);
}

bool Module1::promptMade() {
    try {
        makePasswordForm();
        return true;
    } catch (const std::exception& e) {
        reportLockedFault("the password prompt cannot be made", e.what());
    } catch (...) {
        reportLockedFault("the password prompt cannot be made", "unknown error");
    }
    return false;
}

void Module1::reportLockedFault(const char* what, const char* why) {
    // Plain stdio: the memory for anything more may be what is missing.
    std::fprintf(stderr, "Glidorama: %s (%s); the screen stays locked.\n", what, why);
    std::fflush(stderr);
}

void Module1::keepDisplay(display::Form1* form) {
    if (screenGuard_) screenGuard_->keep(form, form->geometry(), kDisplayLayer, Qt::black);
}

void Module1::keepPrompt() {
    if (screenGuard_ && passwordForm_)
        screenGuard_->keep(passwordForm_.get(), passwordForm_->geometry(), kPromptLayer,
                           passwordForm_->palette().color(QPalette::Window));
}

void Module1::remakeDestroyed(QWidget* window) {
    // Called from the X event filter, outside Qt's event handling: an
    // exception leaving here would end the program and open the screen.
    // The window under ours keeps covering what is not made again.
    try {
        if (passwordForm_ && window == passwordForm_.get()) {
            // Its native window is gone already; the widget goes once the
            // event loop is back.
            PasswordForm* old = passwordForm_.release();
            old->deleteLater();
            if (!promptMade()) {
                // The displays take the next key, which tries again.
                for (display::Form1* form : displays()) form->setEnabled(true);
                return;
            }
            passwordForm_->takeContentsOf(*old);
            if (old->isVisible()) bringPromptToFront();
            return;
        }
        for (Monitor& m : monitors_)
            if (m.display.get() == window) {
                replaceDisplay(m.screen);
                return;
            }
    } catch (const std::exception& e) {
        reportLockedFault("a destroyed window cannot be made again", e.what());
    } catch (...) {
        reportLockedFault("a destroyed window cannot be made again", "unknown error");
    }
}

}  // namespace startup
