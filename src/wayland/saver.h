// The saver on a Wayland session: one overlay layer surface per output, each
// showing the chosen effect at that output's size, outputs added while it
// runs covered at once and removed ones dropped. Keys and clicks, and the
// pointer moves that count, go to the host exactly as from an X11 display.
#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "display/display_host.h"
#include "display/pointer_moves.h"
#include "platform/environment.h"
#include "settings/settings.h"
#include "settings/values.h"
#include "wayland/seat.h"

namespace wayland {

class Connection;
class LayerCover;
class Output;

class Saver final : public InputHandler {
public:
    // `values` must outlive the saver.
    Saver(Connection& connection, const settings::Values& values, platform::Environment& env,
          display::DisplayHost& host);
    ~Saver() override;

    // Covers every output now and every one added later.
    void start();
    // The outputs covered now.
    size_t coverCount() const { return covers_.size(); }

    // InputHandler
    void keyPressed(const KeyPress& key) override;
    void pointerMoved(wl_surface* surface, QPointF at) override;
    void pointerPressed(wl_surface* surface, QPointF at, uint32_t button) override;

private:
    struct Cover;
    void addCover(Output& output);
    void dropCover(Output& output);

    Connection& connection_;
    const settings::Values& values_;
    platform::Environment& env_;
    display::DisplayHost& host_;
    std::vector<std::unique_ptr<Cover>> covers_;
    // Covers the compositor closed, deleted once the event loop is back.
    std::vector<std::unique_ptr<Cover>> closing_;
};

}  // namespace wayland
