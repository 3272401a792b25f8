#include "display/float_prefetch.h"

#include <QFileInfo>

#include <chrono>

namespace display {

FloatPrefetch::FloatPrefetch(Loader loader) : loader_(std::move(loader)) {}

FloatPrefetch::~FloatPrefetch() {
    if (pending_.valid()) pending_.wait();
    for (auto& old : abandoned_) old.wait();
}

FloatPrefetch::Stamp FloatPrefetch::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) return {};
    return {true, info.size(), info.lastModified()};
}

void FloatPrefetch::launch(const QString& path) {
    // A decode no longer wanted finishes on its own; nobody waits for it now.
    std::erase_if(abandoned_, [](std::future<QImage>& old) {
        return old.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
    });
    if (pending_.valid()) abandoned_.push_back(std::move(pending_));
    path_ = path;
    stamp_ = stampOf(path);
    ++started_;
    pending_ = std::async(std::launch::async, loader_, path);
}

void FloatPrefetch::start(const QString& path) {
    if (pending_.valid() && path_ == path && stamp_ == stampOf(path)) return;
    launch(path);
}

QImage FloatPrefetch::take(const QString& path, const std::function<void()>& whileWaiting) {
    const Stamp now = stampOf(path);
    // A file that is gone fails at once, exactly as a direct load would.
    if (!now.exists) return loader_(path);
    const bool reusable = pending_.valid() && path_ == path && stamp_ == now;
    if (!reusable) launch(path);
    else ++used_;
    while (pending_.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        if (whileWaiting) whileWaiting();
        else pending_.wait();
    }
    std::future<QImage> done = std::move(pending_);
    path_.clear();
    return done.get();
}

}  // namespace display
