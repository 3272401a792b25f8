#include "wayland/saver.h"

#include <QTimer>

#include <algorithm>

#include "display/animation_start.h"
#include "display/effect_table.h"
#include "runtime/colors.h"
#include "wayland/connection.h"
#include "wayland/layer_cover.h"
#include "wayland/output.h"

namespace wayland {

struct Saver::Cover {
    Output* output;
    display::PointerMoves moves;
    std::unique_ptr<LayerCover> layer;
};

Saver::Saver(Connection& connection, const settings::Values& values, platform::Environment& env,
             display::DisplayHost& host)
    : connection_(connection), values_(values), env_(env), host_(host) {}

Saver::~Saver() {
    if (Seat* seat = connection_.seat()) seat->setHandler(nullptr);
    connection_.onOutputAdded = nullptr;
    connection_.onOutputRemoved = nullptr;
    connection_.onOutputChanged = nullptr;
}

void Saver::start() {
    if (Seat* seat = connection_.seat()) seat->setHandler(this);
    connection_.onOutputAdded = [this](Output& output) { addCover(output); };
    connection_.onOutputRemoved = [this](Output& output) { dropCover(output); };
    connection_.onOutputChanged = [this](Output& output) {
        for (const auto& cover : covers_)
            if (cover->output == &output) cover->layer->surface().setOutputScale(output.scale());
    };
    for (Output* output : connection_.outputs()) addCover(*output);
    // Every output's first frame (the background) before any effect starts
    // loading its pictures.
    connection_.roundtrip();
}

void Saver::addCover(Output& output) {
    auto cover =
        std::make_unique<Cover>(Cover{&output, display::PointerMoves(host_), nullptr});
    Cover* made = cover.get();
    const display::EffectInfo* effect = display::FindEffect(values_.effect);
    auto make = [this, effect](QSize size, double pictureScale) -> std::unique_ptr<display::Animation> {
        // A mode that names no effect starts nothing: only the background shows.
        if (!effect) return nullptr;
        return effect->make(display::AnimationStart{size, effect->kind, values_, env_, pictureScale});
    };
    auto failed = [this](const QString& message) { return host_.DisplayFailed(message); };
    auto surface =
        std::make_unique<Surface>(connection_, *env_.clock, make, failed,
                                  platform::FromWindowsColor(values_.backgroundColor), values_.pictureScalePercent);
    made->layer = std::make_unique<LayerCover>(connection_, output, std::move(surface));
    made->layer->onClosed = [this, made] {
        // Inside the layer surface's own event: put aside at once, deleted
        // once the event has returned.
        auto it = std::find_if(covers_.begin(), covers_.end(), [&](const auto& c) { return c.get() == made; });
        if (it == covers_.end()) return;
        closing_.push_back(std::move(*it));
        covers_.erase(it);
        QTimer::singleShot(0, [this] { closing_.clear(); });
    };
    covers_.push_back(std::move(cover));
}

void Saver::dropCover(Output& output) {
    covers_.erase(std::remove_if(covers_.begin(), covers_.end(), [&](const auto& c) { return c->output == &output; }),
                  covers_.end());
    connection_.flush();
}

void Saver::keyPressed(const KeyPress&) { host_.RequestExit(); }

void Saver::pointerPressed(wl_surface*, QPointF, uint32_t) { host_.RequestExit(); }

void Saver::pointerMoved(wl_surface* surface, QPointF at) {
    for (const auto& cover : covers_) {
        if (cover->layer->surface().handle() != surface) continue;
        const Surface& shown = cover->layer->surface();
        const display::Animation* animation = shown.animation();
        const double perFramePixel = shown.logicalPerFramePixel();
        cover->moves.moved(at, animation, animation ? animation->unitsPerPixel() : 1,
                           QPointF(perFramePixel, perFramePixel));
        return;
    }
}

}  // namespace wayland
