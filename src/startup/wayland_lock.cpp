#include "startup/wayland_lock.h"

#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <ext-session-lock-v1-client-protocol.h>
#include <linux/input-event-codes.h>
#include <wayland-client-protocol.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include "display/animation_start.h"
#include "display/effect_table.h"
#include "display/pointer_moves.h"
#include "runtime/colors.h"
#include "runtime/messages.h"
#include "settings/settings.h"
#include "startup/prompt_layer.h"
#include "wayland/connection.h"
#include "wayland/lock_surface.h"
#include "wayland/output.h"

namespace startup {

namespace {

// The Qt key of an xkb keysym, for the keys the prompt acts on; `text` is
// what the key types.
int QtKey(uint32_t keysym, const QString& text) {
    switch (keysym) {
        case XKB_KEY_Return:
        case XKB_KEY_KP_Enter: return Qt::Key_Return;
        case XKB_KEY_Tab: return Qt::Key_Tab;
        case XKB_KEY_ISO_Left_Tab: return Qt::Key_Backtab;
        case XKB_KEY_BackSpace: return Qt::Key_Backspace;
        case XKB_KEY_Delete: return Qt::Key_Delete;
        case XKB_KEY_Left: return Qt::Key_Left;
        case XKB_KEY_Right: return Qt::Key_Right;
        case XKB_KEY_Up: return Qt::Key_Up;
        case XKB_KEY_Down: return Qt::Key_Down;
        case XKB_KEY_Home: return Qt::Key_Home;
        case XKB_KEY_End: return Qt::Key_End;
        case XKB_KEY_Escape: return Qt::Key_Escape;
        default: return text.isEmpty() ? Qt::Key_unknown : int(text.at(0).toUpper().unicode());
    }
}

Qt::MouseButton QtButton(uint32_t button) {
    switch (button) {
        case BTN_LEFT: return Qt::LeftButton;
        case BTN_RIGHT: return Qt::RightButton;
        case BTN_MIDDLE: return Qt::MiddleButton;
        default: return Qt::NoButton;
    }
}

}  // namespace

struct WaylandLock::Cover {
    wayland::Output* output;
    display::PointerMoves moves;
    PromptLayer* layer = nullptr;  // owned by the surface once configured
    std::unique_ptr<wayland::LockSurface> role;
};

WaylandLock::WaylandLock(wayland::Connection& connection, const settings::Values& values, platform::Environment& env,
                         display::DisplayHost& host)
    : connection_(connection),
      values_(values),
      env_(env),
      host_(host),
      prompt_(
          values.password,
          // Unlocking waits for the compositor's answer: not inside the key
          // event being dispatched.
          [this] { QTimer::singleShot(0, [this] { unlock(); }); },
          [this] {
              // After a failure there is no saver to go back to: the message stays.
              if (failure_.isEmpty()) hidePrompt();
          }) {}

WaylandLock::~WaylandLock() {
    if (wayland::Seat* seat = connection_.seat()) seat->setHandler(nullptr);
    connection_.onOutputAdded = nullptr;
    connection_.onOutputRemoved = nullptr;
    connection_.onOutputChanged = nullptr;
    covers_.clear();
    // Never unlocked here: an ending run that did not unlock leaves the
    // session locked, which the compositor keeps once we are gone.
}

void WaylandLock::start() {
    lock_ = ext_session_lock_manager_v1_lock(connection_.globals().sessionLock);
    static const ext_session_lock_v1_listener listener = {.locked = &WaylandLock::lockedEvent,
                                                          .finished = &WaylandLock::finishedEvent};
    ext_session_lock_v1_add_listener(lock_, &listener, this);
    if (wayland::Seat* seat = connection_.seat()) seat->setHandler(this);
    connection_.onOutputAdded = [this](wayland::Output& output) { addCover(output); };
    connection_.onOutputRemoved = [this](wayland::Output& output) { dropCover(output); };
    connection_.onOutputChanged = [this](wayland::Output& output) {
        for (const auto& cover : covers_)
            if (cover->output == &output) cover->role->surface().setOutputScale(output.scale());
    };
    for (wayland::Output* output : connection_.outputs()) addCover(*output);
    connection_.flush();
}

void WaylandLock::lockedEvent(void* data, ext_session_lock_v1*) {
    auto* self = static_cast<WaylandLock*>(data);
    self->locked_ = true;
    if (self->unlockWanted_) QTimer::singleShot(0, [self] { self->unlock(); });
}

void WaylandLock::finishedEvent(void* data, ext_session_lock_v1*) {
    auto* self = static_cast<WaylandLock*>(data);
    // Another locker holds the session, or the compositor refused or ended
    // our lock. Whatever it shows now is its own doing: we unlock nothing.
    std::fprintf(stderr, "Glidorama: %s\n",
                 self->locked_ ? "the desktop ended the session lock; the saver ends."
                               : "the desktop refused to lock the session (another screen locker may hold it); "
                                 "the saver does not start.");
    self->env_.end->End(1);
}

void WaylandLock::addCover(wayland::Output& output) {
    auto cover = std::make_unique<Cover>(
        Cover{&output, display::PointerMoves(host_), nullptr, nullptr});
    Cover* made = cover.get();
    const QColor background = platform::FromWindowsColor(values_.backgroundColor);
    auto make = [this, made, background](QSize size, double pictureScale) -> std::unique_ptr<display::Animation> {
        std::unique_ptr<display::Animation> effect;
        // A mode that names no effect starts nothing: only the background shows.
        if (const display::EffectInfo* info = display::FindEffect(values_.effect)) {
            try {
                effect = info->make(display::AnimationStart{size, info->kind, values_, env_, pictureScale});
            } catch (const display::Failure& failure) {
                // The lock surface still shows, and the prompt on it.
                QTimer::singleShot(0, [this, message = failure.message] { failed(message); });
            }
        }
        auto layer = std::make_unique<PromptLayer>(std::move(effect), prompt_, background, size);
        made->layer = layer.get();
        if (!failure_.isEmpty()) layer->standStill();
        return layer;
    };
    auto failedHere = [this](const QString& message) { return failed(message); };
    auto surface = std::make_unique<wayland::Surface>(connection_, *env_.clock, make, failedHere, background,
                                                      values_.pictureScalePercent);
    made->role = std::make_unique<wayland::LockSurface>(lock_, output, std::move(surface));
    covers_.push_back(std::move(cover));
}

void WaylandLock::dropCover(wayland::Output& output) {
    auto gone = std::find_if(covers_.begin(), covers_.end(), [&](const auto& c) { return c->output == &output; });
    if (gone == covers_.end()) return;
    // The prompt comes up again with the next input, on an output still there.
    if (promptCover_ == gone->get()) {
        promptCover_ = nullptr;
        prompt_.hide();
    }
    covers_.erase(gone);
    connection_.flush();
}

WaylandLock::Cover* WaylandLock::coverOf(wl_surface* surface) const {
    for (const auto& cover : covers_)
        if (cover->role->surface().handle() == surface) return cover.get();
    return nullptr;
}

void WaylandLock::showPrompt() {
    if (promptCover_) return;
    Cover* cover = nullptr;
    if (wayland::Seat* seat = connection_.seat()) cover = coverOf(seat->pointerSurface());
    if (!cover || !cover->layer) cover = coverOf(inputSurface_);
    if (!cover || !cover->layer) {
        auto shown = std::find_if(covers_.begin(), covers_.end(), [](const auto& c) { return c->layer != nullptr; });
        if (shown == covers_.end()) return;
        cover = shown->get();
    }
    prompt_.show(cover->layer->size());
    cover->layer->setPromptHere(true);
    promptCover_ = cover;
}

void WaylandLock::hidePrompt() {
    prompt_.hide();
    if (promptCover_) promptCover_->layer->setPromptHere(false);
    promptCover_ = nullptr;
}

void WaylandLock::unlock() {
    if (!locked_) {
        unlockWanted_ = true;
        return;
    }
    // The only unlock: the compositor shows the desktop again once it has it.
    ext_session_lock_v1_unlock_and_destroy(lock_);
    lock_ = nullptr;
    connection_.roundtrip();
    // A run that failed behind the lock still ends as a failure.
    env_.end->End(failure_.isEmpty() ? 0 : 1);
}

display::FailureOutcome WaylandLock::failed(const QString& message) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(platform::kAppTitle), qPrintable(platform::OneLine(message)));
    std::fflush(stderr);
    // The first failure stays on the screen.
    if (failure_.isEmpty()) {
        failure_ = message;
        for (const auto& cover : covers_)
            if (cover->layer) cover->layer->standStill();
        prompt_.setFailureMessage(message);
        showPrompt();
    }
    // The surfaces go on drawing: the effects stand still, the prompt answers.
    return display::FailureOutcome::PassOver;
}

void WaylandLock::keyPressed(const wayland::KeyPress& key) {
    if (!promptCover_) {
        inputSurface_ = key.surface;
        host_.RequestExit();
        return;
    }
    const QString text =
        key.keysym == XKB_KEY_Return || key.keysym == XKB_KEY_KP_Enter ? QStringLiteral("\r") : key.text;
    const int qtKey = QtKey(key.keysym, text);
    prompt_.keyPress(qtKey, Qt::NoModifier, text);
    prompt_.keyRelease(qtKey, Qt::NoModifier, text);
}

void WaylandLock::pointerMoved(wl_surface* surface, QPointF at) {
    if (promptCover_) return;
    if (Cover* cover = coverOf(surface); cover && cover->layer) {
        const double perFramePixel = cover->role->surface().logicalPerFramePixel();
        cover->moves.moved(at, cover->layer, cover->layer->unitsPerPixel(), QPointF(perFramePixel, perFramePixel));
    }
}

void WaylandLock::pointerPressed(wl_surface* surface, QPointF at, uint32_t button) {
    if (!promptCover_) {
        inputSurface_ = surface;
        host_.RequestExit();
        return;
    }
    if (coverOf(surface) == promptCover_)
        prompt_.click(at / promptCover_->role->surface().logicalPerFramePixel(), QtButton(button));
}

}  // namespace startup
