// The locked screen's guard on X11. Everything is answered in the event
// turn that reports it: the events of our own windows (unmapped, destroyed,
// reparented, moved, resized, reshaped) and of the root window's children
// (another window mapped, moved or raised) reach Qt's event queue, and a
// native event filter sees each before Qt does.
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QWidget>

#include "startup/screen_guard.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <xcb/xcb.h>

// XInput2's key events, as numbered on the wire.
constexpr uint16_t kInputKeyPress = 2;
constexpr uint16_t kInputKeyRelease = 3;

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/x11_error_trap.h"

namespace startup {

namespace {

// How long the server may take to show the cover at start.
constexpr int kCoverWaitMs = 3000;

class X11ScreenGuard final : public ScreenGuard, public QAbstractNativeEventFilter {
public:
    X11ScreenGuard(Display* display, std::function<void(QWidget*)> destroyed, std::function<bool()> active);
    ~X11ScreenGuard() override;

    void keep(QWidget* window, QRect area, int layer, QColor background) override;
    void forget(QWidget* window) override;
    bool waitUntilCovering() override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Kept {
        QPointer<QWidget> widget;  // null for the cover
        Window id;
        QRect area;
        int layer;
    };
    void makeCover();
    Kept* find(Window id);
    bool shouldShow(const Kept& kept) const { return !kept.widget || kept.widget->isVisible(); }
    unsigned long pixel(QColor color) const;
    // Raises ours, bottom layer first, when another window stands above
    // the lowest of them.
    void raiseIfCovered();
    void raiseAll();
    // Gives the keyboard focus back to our front window: keys go where the
    // focus is, and another program may move it to a window of its own.
    void takeFocusBack();
    // A key that went to the root window while another program held the
    // focus goes to our front window instead.
    void forwardKey(const unsigned char* event);
    const Kept* frontWindow() const;
    void handle(const xcb_generic_event_t* event);

    Display* display_;
    Window root_;
    int shapeEvent_ = -1;
    int inputOpcode_ = -1;  // XInput's: its events carry it
    std::function<void(QWidget*)> destroyed_;
    std::function<bool()> active_;
    std::vector<Kept> kept_;  // the cover first
    bool coverShown_ = false;  // the server said the cover is on screen
};

X11ScreenGuard::X11ScreenGuard(Display* display, std::function<void(QWidget*)> destroyed,
                               std::function<bool()> active)
    : display_(display), root_(DefaultRootWindow(display)), destroyed_(std::move(destroyed)),
      active_(std::move(active)) {
    int shapeError = 0;
    if (!XShapeQueryExtension(display_, &shapeEvent_, &shapeError)) shapeEvent_ = -1;
    int inputEvent = 0, inputError = 0;
    if (!XQueryExtension(display_, "XInputExtension", &inputOpcode_, &inputEvent, &inputError)) inputOpcode_ = -1;
    platform::X11ErrorTrap trap(display_);
    // Our selection on the root window replaces the program's earlier one:
    // Qt's stays in it.
    XWindowAttributes rootAttributes;
    XGetWindowAttributes(display_, root_, &rootAttributes);
    XSelectInput(display_, root_, rootAttributes.your_event_mask | SubstructureNotifyMask | StructureNotifyMask);
    makeCover();
    if (trap.failed()) throw std::runtime_error("no window can cover the screen");
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11ScreenGuard::~X11ScreenGuard() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (!kept_.empty() && !kept_.front().widget) XDestroyWindow(display_, kept_.front().id);
    XFlush(display_);
}

void X11ScreenGuard::makeCover() {
    Window unusedRoot = 0;
    int x = 0, y = 0;
    unsigned int width = 1, height = 1, border = 0, depth = 0;
    XGetGeometry(display_, root_, &unusedRoot, &x, &y, &width, &height, &border, &depth);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display_, DefaultScreen(display_));
    attributes.event_mask = StructureNotifyMask;
    const Window cover =
        XCreateWindow(display_, root_, 0, 0, width, height, 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    // Named like the program's other windows, so tools see it as ours.
    XClassHint hint{const_cast<char*>("glidorama"), const_cast<char*>("Glidorama")};
    XSetClassHint(display_, cover, &hint);
    XStoreName(display_, cover, "Glidorama");
    if (shapeEvent_ >= 0) XShapeSelectInput(display_, cover, ShapeNotifyMask);
    const Kept entry{nullptr, cover, QRect(0, 0, int(width), int(height)), -1};
    if (!kept_.empty() && !kept_.front().widget)
        kept_.front() = entry;
    else
        kept_.insert(kept_.begin(), entry);
    XMapWindow(display_, cover);
    raiseAll();
}

void X11ScreenGuard::keep(QWidget* window, QRect area, int layer, QColor background) {
    const Window id = Window(window->winId());
    auto it = std::find_if(kept_.begin(), kept_.end(), [&](const Kept& k) { return k.widget == window; });
    if (it == kept_.end()) {
        kept_.push_back({window, id, area, layer});
        if (shapeEvent_ >= 0) XShapeSelectInput(display_, id, ShapeNotifyMask);
    } else {
        *it = {window, id, area, layer};
    }
    // A window without a background keeps whatever was drawn over it last,
    // another program's window included, until the program paints again.
    XSetWindowBackground(display_, id, pixel(background));
    XFlush(display_);
}

void X11ScreenGuard::forget(QWidget* window) {
    kept_.erase(std::remove_if(kept_.begin(), kept_.end(),
                               [&](const Kept& k) { return k.widget == window || (k.layer >= 0 && !k.widget); }),
                kept_.end());
}

X11ScreenGuard::Kept* X11ScreenGuard::find(Window id) {
    for (Kept& k : kept_)
        if (k.id == id && (k.layer < 0 || k.widget)) return &k;
    return nullptr;
}

unsigned long X11ScreenGuard::pixel(QColor color) const {
    const int screen = DefaultScreen(display_);
    if (DefaultDepth(display_, screen) < 24) return BlackPixel(display_, screen);
    return (unsigned long)(color.red()) << 16 | (unsigned long)(color.green()) << 8 | (unsigned long)(color.blue());
}

void X11ScreenGuard::raiseAll() {
    std::vector<const Kept*> order;
    for (const Kept& k : kept_)
        if (shouldShow(k)) order.push_back(&k);
    std::stable_sort(order.begin(), order.end(), [](const Kept* a, const Kept* b) { return a->layer < b->layer; });
    for (const Kept* k : order) XRaiseWindow(display_, k->id);
    XFlush(display_);
}

void X11ScreenGuard::raiseIfCovered() {
    platform::X11ErrorTrap trap(display_);
    Window unusedRoot = 0, unusedParent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, root_, &unusedRoot, &unusedParent, &children, &count)) return;
    bool covered = false;
    bool pastOurLowest = false;
    // The children come bottom to top.
    for (unsigned int i = 0; i < count && !covered; ++i) {
        if (find(children[i])) {
            pastOurLowest = true;
            continue;
        }
        if (!pastOurLowest) continue;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, children[i], &attributes) && attributes.map_state == IsViewable)
            covered = true;
    }
    if (children) XFree(children);
    if (covered) raiseAll();
}

const X11ScreenGuard::Kept* X11ScreenGuard::frontWindow() const {
    const Kept* front = nullptr;
    for (const Kept& k : kept_)
        if (k.widget && k.widget->isVisible() && (!front || k.layer > front->layer)) front = &k;
    return front;
}

void X11ScreenGuard::forwardKey(const unsigned char* bytes) {
    // An XInput2 key event as xcb hands it over (full sequence at byte 32).
    const auto word = [bytes](int at) { return *reinterpret_cast<const uint32_t*>(bytes + at); };
    const uint16_t type = *reinterpret_cast<const uint16_t*>(bytes + 8);
    if (word(24) != root_) return;  // it reached a window of ours as it should
    const Kept* front = frontWindow();
    if (!front) return;
    takeFocusBack();
    XEvent key{};
    key.xkey.type = type == kInputKeyPress ? KeyPress : KeyRelease;
    key.xkey.display = display_;
    key.xkey.window = front->id;
    key.xkey.root = root_;
    key.xkey.time = word(12);
    key.xkey.keycode = word(16);
    key.xkey.state = (word(76) & 0xff) | (unsigned(bytes[83]) << 13);
    key.xkey.same_screen = True;
    XSendEvent(display_, front->id, False, type == kInputKeyPress ? KeyPressMask : KeyReleaseMask, &key);
    XFlush(display_);
}

void X11ScreenGuard::takeFocusBack() {
    const Kept* front = frontWindow();
    if (!front) return;
    XSetInputFocus(display_, front->id, RevertToParent, CurrentTime);
    XFlush(display_);
}

bool X11ScreenGuard::waitUntilCovering() {
    // The answer comes through Qt's event queue: it also shows that the
    // program reads the events that the guard lives on.
    QDeadlineTimer deadline(kCoverWaitMs);
    while (!coverShown_ && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return coverShown_;
}

bool X11ScreenGuard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType == "xcb_generic_event_t" && active_()) handle(static_cast<const xcb_generic_event_t*>(message));
    return false;  // Qt sees every event too
}

void X11ScreenGuard::handle(const xcb_generic_event_t* event) {
    const int type = event->response_type & 0x7f;
    switch (type) {
        case XCB_MAP_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            if (!kept_.empty() && e->window == kept_.front().id) coverShown_ = true;
            if (e->event == root_ && !find(e->window)) raiseAll();
            return;
        }
        case XCB_FOCUS_OUT: {
            const auto* e = reinterpret_cast<const xcb_focus_out_event_t*>(event);
            if (find(e->event) && e->detail != XCB_NOTIFY_DETAIL_INFERIOR && e->mode != XCB_NOTIFY_MODE_GRAB &&
                e->mode != XCB_NOTIFY_MODE_UNGRAB)
                takeFocusBack();
            return;
        }
        case XCB_CIRCULATE_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_circulate_notify_event_t*>(event);
            if (e->event == root_) raiseAll();
            return;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            if (e->window == root_) {  // the screen changed size
                if (!kept_.empty() && !kept_.front().widget) {
                    kept_.front().area = QRect(0, 0, e->width, e->height);
                    XMoveResizeWindow(display_, kept_.front().id, 0, 0, e->width, e->height);
                }
                return;
            }
            // Another window moved or was raised: ours go back on top at
            // once, with no round trip. One of ours restacked by another
            // program is checked first: our own raising restacks them too.
            if (e->event == root_) {
                if (find(e->window))
                    raiseIfCovered();
                else
                    raiseAll();
                return;
            }
            const Kept* k = find(e->window);
            if (k && e->event == e->window && QRect(e->x, e->y, e->width, e->height) != k->area) {
                XMoveResizeWindow(display_, k->id, k->area.x(), k->area.y(), unsigned(k->area.width()),
                                  unsigned(k->area.height()));
                XFlush(display_);
            }
            return;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
            const Kept* k = find(e->window);
            if (k && e->event == e->window && shouldShow(*k)) {
                XMapWindow(display_, k->id);
                raiseAll();
            }
            return;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
            const Kept* k = find(e->window);
            if (!k || e->event != e->window || e->parent == root_) return;
            XReparentWindow(display_, k->id, root_, k->area.x(), k->area.y());
            if (shouldShow(*k)) XMapWindow(display_, k->id);
            raiseAll();
            return;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            Kept* k = find(e->window);
            if (!k || e->event != e->window) return;
            if (!k->widget) {
                makeCover();
                return;
            }
            QWidget* widget = k->widget;
            forget(widget);
            destroyed_(widget);
            return;
        }
        case XCB_GE_GENERIC: {
            const auto* e = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
            if (e->extension == inputOpcode_ &&
                (e->event_type == kInputKeyPress || e->event_type == kInputKeyRelease))
                forwardKey(reinterpret_cast<const unsigned char*>(event));
            return;
        }
        default: break;
    }
    if (shapeEvent_ >= 0 && type == shapeEvent_ + ShapeNotify) {
        // Laid out as XShapeEvent on the wire: kind, window, extents, time, shaped.
        const auto* bytes = reinterpret_cast<const unsigned char*>(event);
        const int kind = bytes[1];
        const Window window = *reinterpret_cast<const uint32_t*>(bytes + 4);
        const bool shaped = bytes[20] != 0;
        if (shaped && find(window)) {
            XShapeCombineMask(display_, window, kind, 0, 0, None, ShapeSet);
            XFlush(display_);
        }
    }
}

}  // namespace

std::unique_ptr<ScreenGuard> OpenScreenGuard(std::function<void(QWidget*)> destroyed, std::function<bool()> active) {
    Display* display = platform::QtX11Display();
    if (!display) return nullptr;
    return std::make_unique<X11ScreenGuard>(display, std::move(destroyed), std::move(active));
}

}  // namespace startup
