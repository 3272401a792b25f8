// The key lock: while it is on, one window of the program holds the X11
// keyboard and pointer grabs. The holder is the window of ours most recently
// shown; when it is hidden the grabs move to the next one still on screen. A grab the server
// refuses (window not yet viewable, another program holding a grab) is
// retried until it succeeds or the lock goes off; after a few seconds of
// refusals the program says so on standard error and keeps trying. While
// the lock is on the grabs are taken again now and then, so a grab that
// something released behind our back (a popup closing) comes back.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace platform {

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
    void tryGrab();
    void release();

    bool on_ = false;
    QPointer<QWidget> holder_;
    std::vector<QPointer<QWidget>> shown_;  // our top-level windows, in the order they were shown
    QTimer retry_;
    QTimer hold_;  // takes the grabs again while the lock is on
    int grabAttempts_ = 0;
    bool refusalReported_ = false;  // said that the lock is not taken, and not yet that it is
};

}  // namespace platform
