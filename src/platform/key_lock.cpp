#include "platform/key_lock.h"

#include "platform/x11_device_grabs.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

constexpr int kRetryMs = 50;
// How long the grabs may be refused before the program says so: as long as
// XScreenSaver keeps trying before it gives up on locking.
constexpr int kReportAfterAttempts = 5000 / kRetryMs;
constexpr int kHoldMs = 250;

bool IsOurWindow(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow()) return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

}  // namespace

KeyLock::KeyLock() {
    retry_.setInterval(kRetryMs);
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] { tryGrab(); });
    hold_.setInterval(kHoldMs);
    connect(&hold_, &QTimer::timeout, this, [this] {
        if (!retry_.isActive()) tryGrab();
    });
    // Windows are tracked from the start, so the lock knows which window is
    // in front whenever it is switched on.
    if (qApp) qApp->installEventFilter(this);
    if (qApp)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (IsOurWindow(w) && w->isVisible()) shown_.emplace_back(w);
}

KeyLock::~KeyLock() {
    if (qApp) qApp->removeEventFilter(this);
}

void KeyLock::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    // Programs that never lock (the dialog, a hosted saver) leave the
    // devices alone.
    if (on_ && !devicesOpened_) {
        devicesOpened_ = true;
        devices_ = X11DeviceGrabs::Open();
        if (devices_) devices_->onHierarchyChanged([this] {
                if (on_) tryGrab();
            });
    }
    if (on_ && devices_) {
        holder_ = frontmostShown();
        grabAttempts_ = 0;
        tryGrab();
    } else if (on_) {
        hold_.start();
        moveTo(frontmostShown());
    } else {
        hold_.stop();
        release();
        holder_ = nullptr;
    }
}

QWidget* KeyLock::frontmostShown() const {
    for (auto it = shown_.rbegin(); it != shown_.rend(); ++it)
        if (*it && (*it)->isVisible()) return *it;
    return nullptr;
}

void KeyLock::moveTo(QWidget* window) {
    if (devices_) {  // the root window's grabs stay where they are
        holder_ = window;
        return;
    }
    if (!window) {
        release();
        holder_ = nullptr;
        return;
    }
    // The grabs of one program move to another of its windows by grabbing
    // again; the old ones stay until then, so no key slips out in between.
    holder_ = window;
    grabAttempts_ = 0;
    tryGrab();
}

bool KeyLock::grabOnce() {
    // On the root window every master device is held whatever happens to
    // our windows, from the moment the lock goes on.
    if (devices_) return devices_->grabAll().complete();
    if (!holder_ || !holder_->isVisible()) return false;
    QWindow* window = holder_->windowHandle();
    // The window's own grabs, not QWidget::grabKeyboard: that would send
    // every key to the top-level widget instead of its focused control.
    const bool keyboard = window && window->setKeyboardGrabEnabled(true);
    const bool pointer = window && window->setMouseGrabEnabled(true);
    // A window that is still being mapped cannot take a grab yet.
    return keyboard && pointer;
}

void KeyLock::tryGrab() {
    retry_.stop();
    if (!on_ || (!devices_ && (!holder_ || !holder_->isVisible()))) return;
    if (grabOnce()) {
        if (refusalReported_) std::fprintf(stderr, "Glidorama: the screen is locked now.\n");
        refusalReported_ = false;
        grabAttempts_ = 0;
        return;
    }
    if (++grabAttempts_ >= kReportAfterAttempts && !refusalReported_) {
        refusalReported_ = true;
        std::fprintf(stderr,
                     "Glidorama: the screen is not locked: another program holds the keyboard or the "
                     "pointer; still trying.\n");
        std::fflush(stderr);
    }
    retry_.start(grabAttempts_ == 1 ? 0 : kRetryMs);
}

void KeyLock::release() {
    retry_.stop();
    grabAttempts_ = 0;
    if (devices_) {
        devices_->releaseAll();
        return;
    }
    // Releasing a grab lets go of the program's grab, whichever window holds
    // it; any window of ours can do it, also when the holder is gone.
    QWindow* window = holder_ ? holder_->windowHandle() : nullptr;
    if (!window && qApp)
        for (QWindow* w : QGuiApplication::topLevelWindows())
            if (w->handle()) {
                window = w;
                break;
            }
    if (window) {
        window->setKeyboardGrabEnabled(false);
        window->setMouseGrabEnabled(false);
    }
}

bool KeyLock::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && IsOurWindow(watched)) {
        auto* widget = static_cast<QWidget*>(watched);
        shown_.erase(
            std::remove_if(shown_.begin(), shown_.end(), [&](const QPointer<QWidget>& w) { return !w || w == widget; }),
            shown_.end());
        if (type == QEvent::Show) shown_.emplace_back(widget);
        if (on_) {
            QWidget* front = type == QEvent::Show ? widget : frontmostShown();
            if (front != holder_ || type == QEvent::Show) moveTo(front);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
