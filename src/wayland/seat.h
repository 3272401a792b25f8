// The seat's keyboard and pointer. Keys go through xkbcommon with the keymap
// the compositor sends (the user's layout), so a typed text means the same as
// on X11. Events go to one InputHandler, with the wl_surface they are on. A
// held key repeats at the rate and delay the compositor tells (the client
// repeats keys on Wayland), so holding Backspace erases as on X11.
#pragma once

#include <QPointF>
#include <QString>
#include <QTimer>

#include <cstdint>

struct wl_seat;
struct wl_keyboard;
struct wl_pointer;
struct wl_surface;
struct wl_array;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace wayland {

struct KeyPress {
    wl_surface* surface = nullptr;  // the surface with the keyboard focus (may be null)
    uint32_t keysym = 0;            // the xkb keysym, with the layout and modifiers applied
    QString text;                   // what the key types (empty for Return, arrows, ...)
};

class InputHandler {
public:
    virtual ~InputHandler() = default;
    virtual void keyPressed(const KeyPress& key) = 0;
    // Positions are in the surface's logical pixels.
    virtual void pointerMoved(wl_surface* surface, QPointF at) = 0;
    // `button` is the Linux input code (BTN_LEFT, ...).
    virtual void pointerPressed(wl_surface* surface, QPointF at, uint32_t button) = 0;
};

class Seat {
public:
    Seat(wl_seat* seat, uint32_t globalName);
    ~Seat();
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    uint32_t globalName() const { return globalName_; }
    void setHandler(InputHandler* handler) { handler_ = handler; }
    // Whether the pointer is hidden over our surfaces (the default).
    void setPointerHidden(bool hidden) { pointerHidden_ = hidden; }
    // The surface the pointer is on (null: none of ours).
    wl_surface* pointerSurface() const { return pointerSurface_; }

private:
    static void capabilities(void* data, wl_seat*, uint32_t caps);
    static void seatName(void*, wl_seat*, const char*);
    static void keymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size);
    static void keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*);
    static void keyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface*);
    static void key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state);
    static void modifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                          uint32_t group);
    static void repeatInfo(void* data, wl_keyboard*, int32_t rate, int32_t delay);
    static void pointerEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, int32_t x, int32_t y);
    static void pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*);
    static void motion(void* data, wl_pointer*, uint32_t, int32_t x, int32_t y);
    // Tells the handler of a press of `key` (an evdev code).
    void pressed(uint32_t key);
    static void button(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state);

    wl_seat* seat_;
    uint32_t globalName_;
    wl_keyboard* keyboard_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
    InputHandler* handler_ = nullptr;
    bool pointerHidden_ = true;
    wl_surface* keyboardSurface_ = nullptr;
    wl_surface* pointerSurface_ = nullptr;
    QPointF pointerAt_;
    // Key repeat: keys a second (0: none) and the wait before the first.
    int repeatRate_ = 25;
    int repeatDelay_ = 600;
    uint32_t repeatKey_ = 0;  // the held key that repeats
    QTimer repeat_;
};

}  // namespace wayland
