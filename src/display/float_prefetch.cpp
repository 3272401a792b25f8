#include "display/float_prefetch.h"

#include <QFileInfo>

#include <chrono>

namespace display {

namespace {
template <typename T>
bool ready(const std::future<T>& f) {
    return f.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
}
}  // namespace

FloatPrefetch::~FloatPrefetch() {
    if (pending_.valid()) pending_.wait();
    for (auto& old : abandoned_) old.wait();
}

FloatPrefetch::Stamp FloatPrefetch::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) return {};
    return {true, info.size(), info.lastModified()};
}

void FloatPrefetch::launch(const QString& path, Preparer preparer) {
    // A preparation no longer wanted finishes on its own; nobody waits for it now.
    std::erase_if(abandoned_, [](const std::future<PreparedPicture>& old) { return ready(old); });
    if (pending_.valid()) abandoned_.push_back(std::move(pending_));
    path_ = path;
    stamp_ = stampOf(path);
    pending_ = std::async(std::launch::async, std::move(preparer), path);
}

void FloatPrefetch::start(const QString& path, Preparer preparer) {
    if (pending_.valid() && path_ == path && stamp_ == stampOf(path)) return;
    launch(path, std::move(preparer));
}

PreparedPicture FloatPrefetch::take(const QString& path, const Preparer& preparer,
                                    const std::function<void()>& whileWaiting) {
    const Stamp now = stampOf(path);
    // A file that is gone fails at once, exactly as a direct load would.
    if (!now.exists) return preparer(path);
    if (pending_.valid() && path_ == path && stamp_ == now)
        ++used_;
    else
        launch(path, preparer);
    while (!ready(pending_)) {
        if (whileWaiting)
            whileWaiting();
        else
            pending_.wait();
    }
    std::future<PreparedPicture> done = std::move(pending_);
    path_.clear();
    return done.get();
}

}  // namespace display
