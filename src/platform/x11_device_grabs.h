// The key lock's grabs on X11: every master keyboard and pointer (XInput2)
// grabbed on the root window, which no other program can unmap, move or
// destroy. Events still reach the program's own windows as usual. A master
// device added while the grabs are held is grabbed at once.
#pragma once

#include <QAbstractNativeEventFilter>

#include <functional>
#include <memory>

namespace platform {

class X11DeviceGrabs final : public QAbstractNativeEventFilter {
public:
    // Null off X11 or when the server has no XInput2.
    static std::unique_ptr<X11DeviceGrabs> Open();
    ~X11DeviceGrabs() override;

    struct Outcome {
        bool keyboardRefused = false;  // another program holds a keyboard
        bool pointerRefused = false;   // another program holds a pointer
        bool failed = false;           // the server refused for another reason (no master, out of memory)
        bool complete() const { return !keyboardRefused && !pointerRefused && !failed; }
    };
    // Grabs every master device not yet held; the held ones stay held.
    Outcome grabAll();
    void releaseAll();
    // Runs when the set of master devices changes while grabs are held.
    void onHierarchyChanged(std::function<void()> changed) { hierarchyChanged_ = std::move(changed); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    X11DeviceGrabs(void* display, int opcode);

    void* display_;  // Qt's Xlib display
    int opcode_;     // XInput's major opcode: its events carry it
    bool holding_ = false;
    std::function<void()> hierarchyChanged_;
};

}  // namespace platform
