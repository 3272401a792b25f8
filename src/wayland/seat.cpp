#include "wayland/seat.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client-protocol.h>
#include <xkbcommon/xkbcommon.h>

namespace wayland {

Seat::Seat(wl_seat* seat, uint32_t globalName)
    : seat_(seat), globalName_(globalName), xkb_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    static const wl_seat_listener listener = {.capabilities = &Seat::capabilities, .name = &Seat::seatName};
    wl_seat_add_listener(seat_, &listener, this);
    repeat_.setSingleShot(true);
    QObject::connect(&repeat_, &QTimer::timeout, [this] {
        repeat_.start(1000 / repeatRate_);
        pressed(repeatKey_);
    });
}

Seat::~Seat() {
    if (keyboard_) wl_keyboard_destroy(keyboard_);
    if (pointer_) wl_pointer_destroy(pointer_);
    if (state_) xkb_state_unref(state_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (xkb_) xkb_context_unref(xkb_);
    wl_seat_destroy(seat_);
}

void Seat::capabilities(void* data, wl_seat*, uint32_t caps) {
    auto* self = static_cast<Seat*>(data);
    const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
    if (hasKeyboard && !self->keyboard_) {
        static const wl_keyboard_listener listener = {
            .keymap = &Seat::keymap,
            .enter = &Seat::keyboardEnter,
            .leave = &Seat::keyboardLeave,
            .key = &Seat::key,
            .modifiers = &Seat::modifiers,
            .repeat_info = &Seat::repeatInfo,
        };
        self->keyboard_ = wl_seat_get_keyboard(self->seat_);
        wl_keyboard_add_listener(self->keyboard_, &listener, self);
    } else if (!hasKeyboard && self->keyboard_) {
        self->repeat_.stop();
        wl_keyboard_destroy(self->keyboard_);
        self->keyboard_ = nullptr;
    }
    const bool hasPointer = caps & WL_SEAT_CAPABILITY_POINTER;
    if (hasPointer && !self->pointer_) {
        static const wl_pointer_listener listener = {
            .enter = &Seat::pointerEnter,
            .leave = &Seat::pointerLeave,
            .motion = &Seat::motion,
            .button = &Seat::button,
            .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
            .frame = [](void*, wl_pointer*) {},
            .axis_source = [](void*, wl_pointer*, uint32_t) {},
            .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
            .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
            .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
#ifdef WL_POINTER_AXIS_RELATIVE_DIRECTION_SINCE_VERSION  // libwayland 1.22 and later
            .axis_relative_direction = [](void*, wl_pointer*, uint32_t, uint32_t) {},
#endif
        };
        self->pointer_ = wl_seat_get_pointer(self->seat_);
        wl_pointer_add_listener(self->pointer_, &listener, self);
    } else if (!hasPointer && self->pointer_) {
        wl_pointer_destroy(self->pointer_);
        self->pointer_ = nullptr;
        self->pointerSurface_ = nullptr;
    }
}

void Seat::seatName(void*, wl_seat*, const char*) {}

void Seat::keymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* self = static_cast<Seat*>(data);
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        ::close(fd);
        return;
    }
    void* text = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (text == MAP_FAILED) return;
    // The text ends with a NUL inside `size`.
    xkb_keymap* keymap = xkb_keymap_new_from_buffer(self->xkb_, static_cast<const char*>(text), size - 1,
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    ::munmap(text, size);
    // A keymap that cannot be read leaves the last good one in use.
    if (!keymap) return;
    if (self->state_) xkb_state_unref(self->state_);
    if (self->keymap_) xkb_keymap_unref(self->keymap_);
    self->keymap_ = keymap;
    self->state_ = xkb_state_new(keymap);
}

void Seat::keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    static_cast<Seat*>(data)->keyboardSurface_ = surface;
}

void Seat::keyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface) {
    auto* self = static_cast<Seat*>(data);
    self->repeat_.stop();
    if (self->keyboardSurface_ == surface) self->keyboardSurface_ = nullptr;
}

void Seat::key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    auto* self = static_cast<Seat*>(data);
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) {
        if (key == self->repeatKey_) self->repeat_.stop();
        return;
    }
    self->repeat_.stop();
    // Wayland sends evdev codes; xkb's are 8 higher.
    if (self->repeatRate_ > 0 && self->keymap_ && xkb_keymap_key_repeats(self->keymap_, key + 8)) {
        self->repeatKey_ = key;
        self->repeat_.start(self->repeatDelay_);
    }
    self->pressed(key);
}

void Seat::pressed(uint32_t key) {
    if (!handler_) return;
    KeyPress press;
    press.surface = keyboardSurface_;
    if (state_) {
        const xkb_keycode_t code = key + 8;
        press.keysym = xkb_state_key_get_one_sym(state_, code);
        char text[64] = {};
        if (xkb_state_key_get_utf8(state_, code, text, sizeof text) > 0) {
            press.text = QString::fromUtf8(text);
            // Control characters (Return, Escape, Backspace) are keys, not text.
            if (press.text.size() == 1 && press.text.front().unicode() < 0x20) press.text.clear();
        }
    }
    handler_->keyPressed(press);
}

void Seat::modifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                     uint32_t group) {
    auto* self = static_cast<Seat*>(data);
    if (self->state_) xkb_state_update_mask(self->state_, depressed, latched, locked, 0, 0, group);
}

void Seat::repeatInfo(void* data, wl_keyboard*, int32_t rate, int32_t delay) {
    auto* self = static_cast<Seat*>(data);
    self->repeatRate_ = std::clamp(rate, 0, 1000);
    self->repeatDelay_ = std::max(delay, 0);
    if (self->repeatRate_ == 0) self->repeat_.stop();
}

void Seat::pointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, int32_t x, int32_t y) {
    auto* self = static_cast<Seat*>(data);
    self->pointerSurface_ = surface;
    self->pointerAt_ = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
    if (self->pointerHidden_) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    // Entering is no move (as on X11): a surface that appears under the
    // pointer learns where it is from the first motion.
}

void Seat::pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface* surface) {
    auto* self = static_cast<Seat*>(data);
    if (self->pointerSurface_ == surface) self->pointerSurface_ = nullptr;
}

void Seat::motion(void* data, wl_pointer*, uint32_t, int32_t x, int32_t y) {
    auto* self = static_cast<Seat*>(data);
    self->pointerAt_ = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
    if (self->handler_ && self->pointerSurface_) self->handler_->pointerMoved(self->pointerSurface_, self->pointerAt_);
}

void Seat::button(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    auto* self = static_cast<Seat*>(data);
    if (state != WL_POINTER_BUTTON_STATE_PRESSED || !self->handler_) return;
    self->handler_->pointerPressed(self->pointerSurface_, self->pointerAt_, button);
}

}  // namespace wayland
