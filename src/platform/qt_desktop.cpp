#include "platform/qt_desktop.h"

#include "platform/key_lock.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <tuple>

namespace platform {

QtDesktop::QtDesktop() : lock_(std::make_unique<KeyLock>()) {}
QtDesktop::~QtDesktop() = default;

void QtDesktop::setKeyLock(bool on) { lock_->setOn(on); }

bool QtDesktop::keyLockOn() const { return lock_->on(); }
QWidget* QtDesktop::lockHolder() const { return lock_->holder(); }

void QtDesktop::parkPointer(QPoint at) {
    // The pointer stays on the screen: a point past the
    // bottom-right corner leaves it at the last pixel.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        QCursor::setPos(std::clamp(at.x(), r.left(), r.right()), std::clamp(at.y(), r.top(), r.bottom()));
    }
}

void QtDesktop::placeWindow(QWidget* window, QRect area, WindowLayer layer) {
    if (!window) return;
    QRect wanted(area.topLeft(), QSize(std::max(area.width(), 1), std::max(area.height(), 1)));
    // The monitor is the one the window covers most of: monitors may share
    // a corner (a mirrored projector) or overlap, and a window must never
    // be cut to a smaller monitor that merely holds its corner.
    QScreen* screen = nullptr;
    qint64 most = 0;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect common = wanted.intersected(s->geometry());
        const qint64 covered = qint64(common.width()) * common.height();
        if (covered > most) std::tie(screen, most) = std::tie(s, covered);
    }
    if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) wanted = wanted.intersected(screen->geometry());
    window->setGeometry(wanted);
    // Stacking is changed by raising, never by switching the stay-on-top
    // hint of a window on screen: that recreates the native window, which
    // blinks the display away and drops the key lock's grabs.
    const bool onTop = layer == WindowLayer::OnTop;
    if (!window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window->show();
    if (onTop) window->raise();
}

}  // namespace platform
