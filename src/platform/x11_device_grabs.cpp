#include "platform/x11_device_grabs.h"

#include <QCoreApplication>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <xcb/xcb.h>

#include "platform/x11_error_trap.h"

namespace platform {

namespace {

Display* Xlib(void* display) { return static_cast<Display*>(display); }

void SetBit(unsigned char* mask, int event) { XISetMask(mask, event); }

}  // namespace

std::unique_ptr<X11DeviceGrabs> X11DeviceGrabs::Open() {
    Display* display = QtX11Display();
    if (!display) return nullptr;
    int opcode = 0, firstEvent = 0, firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)) return nullptr;
    int major = 2, minor = 2;  // what Qt asks for: a client may not ask twice for different versions
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2) return nullptr;
    std::unique_ptr<X11DeviceGrabs> grabs(new X11DeviceGrabs(display, opcode));
    // Devices added or removed are announced on the root window. Qt selects
    // the same events there for itself; a selection replaces the program's
    // earlier one, so this one includes Qt's.
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    SetBit(bits, XI_HierarchyChanged);
    SetBit(bits, XI_DeviceChanged);
    SetBit(bits, XI_PropertyEvent);
    XIEventMask mask{XIAllDevices, sizeof(bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installNativeEventFilter(grabs.get());
    return grabs;
}

X11DeviceGrabs::X11DeviceGrabs(void* display, int opcode) : display_(display), opcode_(opcode) {}

X11DeviceGrabs::~X11DeviceGrabs() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

X11DeviceGrabs::Outcome X11DeviceGrabs::grabAll() {
    Display* display = Xlib(display_);
    Outcome outcome;
    X11ErrorTrap trap(display);
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllMasterDevices, &count);
    bool keyboards = false, pointers = false;
    for (int i = 0; i < count; ++i) {
        const bool keyboard = devices[i].use == XIMasterKeyboard;
        if (!keyboard && devices[i].use != XIMasterPointer) continue;
        // Events keep going to our own windows as usual (owner events);
        // whatever would go elsewhere comes to the root window, where
        // nothing reads it.
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        SetBit(bits, keyboard ? XI_KeyPress : XI_ButtonPress);
        SetBit(bits, keyboard ? XI_KeyRelease : XI_ButtonRelease);
        XIEventMask mask{devices[i].deviceid, sizeof(bits), bits};
        const Status status = XIGrabDevice(display, devices[i].deviceid, DefaultRootWindow(display), CurrentTime,
                                           None, XIGrabModeAsync, XIGrabModeAsync, True, &mask);
        (keyboard ? keyboards : pointers) = true;
        if (status == AlreadyGrabbed || status == GrabFrozen)
            (keyboard ? outcome.keyboardRefused : outcome.pointerRefused) = true;
        else if (status != Success)
            outcome.failed = true;
    }
    if (devices) XIFreeDeviceInfo(devices);
    if (!keyboards || !pointers || trap.failed()) outcome.failed = true;
    holding_ = true;
    return outcome;
}

void X11DeviceGrabs::releaseAll() {
    holding_ = false;
    Display* display = Xlib(display_);
    X11ErrorTrap trap(display);
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllMasterDevices, &count);
    for (int i = 0; i < count; ++i)
        if (devices[i].use == XIMasterKeyboard || devices[i].use == XIMasterPointer)
            XIUngrabDevice(display, devices[i].deviceid, CurrentTime);
    if (devices) XIFreeDeviceInfo(devices);
    // Sent before the program goes on (it may end at once).
    trap.failed();
}

bool X11DeviceGrabs::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!holding_ || eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC) return false;
    const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
    if (generic->extension == opcode_ && generic->event_type == XI_HierarchyChanged && hierarchyChanged_)
        hierarchyChanged_();
    return false;  // Qt keeps track of the devices too
}

}  // namespace platform
