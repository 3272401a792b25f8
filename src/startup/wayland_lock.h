// WaylandLock: password protection on a Wayland compositor that offers a
// session lock (ext-session-lock-v1). The compositor shows nothing but our
// lock surfaces, one per output (outputs added later get one too), each
// showing the chosen effect. Any input brings up the password prompt on the
// output that has the pointer; only the right password unlocks. Nothing
// else ever unlocks: if the program fails, is killed or loses the
// compositor, the compositor keeps the session locked.
#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "display/display_host.h"
#include "platform/environment.h"
#include "settings/values.h"
#include "startup/offscreen_prompt.h"
#include "wayland/seat.h"

struct ext_session_lock_v1;

namespace wayland {
class Connection;
class Output;
}  // namespace wayland

namespace startup {

class WaylandLock final : public wayland::InputHandler {
public:
    // Input that does not go to the prompt (keys, clicks and counted moves
    // while the prompt is not shown) goes to `host`, whose RequestExit
    // calls showPrompt(). `values` must outlive the lock.
    WaylandLock(wayland::Connection& connection, const settings::Values& values, platform::Environment& env,
                display::DisplayHost& host);
    ~WaylandLock() override;

    // Asks the compositor to lock the session and covers every output.
    void start();
    // Brings up the prompt on the output with the pointer; where the
    // compositor tells us of no pointer, on the one the last key or click
    // came to, else on the first.
    void showPrompt();

    bool locked() const { return locked_; }
    size_t surfaceCount() const { return covers_.size(); }

    // InputHandler
    void keyPressed(const wayland::KeyPress& key) override;
    void pointerMoved(wl_surface* surface, QPointF at) override;
    void pointerPressed(wl_surface* surface, QPointF at, uint32_t button) override;

private:
    struct Cover;
    static void lockedEvent(void* data, ext_session_lock_v1*);
    static void finishedEvent(void* data, ext_session_lock_v1*);
    void addCover(wayland::Output& output);
    void dropCover(wayland::Output& output);
    Cover* coverOf(wl_surface* surface) const;
    // The right password was typed.
    void unlock();
    void hidePrompt();
    // A failure of an effect: shown on the prompt, every effect stands still.
    display::FailureOutcome failed(const QString& message);

    wayland::Connection& connection_;
    const settings::Values& values_;
    platform::Environment& env_;
    display::DisplayHost& host_;
    ext_session_lock_v1* lock_ = nullptr;
    bool locked_ = false;
    bool unlockWanted_ = false;  // the password came before the compositor said the session was locked
    QString failure_;            // the first failure, shown on the prompt; empty while none
    OffscreenPrompt prompt_;
    std::vector<std::unique_ptr<Cover>> covers_;
    Cover* promptCover_ = nullptr;
    wl_surface* inputSurface_ = nullptr;  // the lock surface the last key or click came to
};

}  // namespace startup
