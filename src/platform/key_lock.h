// The key lock: while it is on, no other program gets a key or a click. On
// X11 every master keyboard and pointer is grabbed on the root window (see
// X11DeviceGrabs). Elsewhere one window of the program holds the grabs: the
// holder is the window of ours most recently shown; when it is hidden the
// grabs move to the next one still on screen, and they are taken again now
// and then, so a grab that something released behind our back comes back.
// A grab the server refuses (another program holding one) is retried until
// it succeeds or the lock goes off; after a few seconds of refusals the
// program says so on standard error and keeps trying.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

namespace platform {

class X11DeviceGrabs;

class KeyLock final : public QObject {
public:
    KeyLock();
    ~KeyLock() override;

    void setOn(bool on);
    bool on() const { return on_; }
    QWidget* holder() const { return holder_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveTo(QWidget* window);
    QWidget* frontmostShown() const;
    // One attempt at every grab; true when all are held.
    bool grabOnce();
    void tryGrab();
    void release();

    std::unique_ptr<X11DeviceGrabs> devices_;  // null off X11: the front window's own grabs instead
    bool devicesOpened_ = false;
    bool on_ = false;
    QPointer<QWidget> holder_;
    std::vector<QPointer<QWidget>> shown_;  // our top-level windows, in the order they were shown
    QTimer retry_;
    QTimer hold_;  // takes the grabs again while the lock is on
    int grabAttempts_ = 0;
    bool refusalReported_ = false;  // said that the lock is not taken, and not yet that it is
};

}  // namespace platform
