#include "display/float_prefetch.h"

#include <QFileInfo>

#include <chrono>

namespace display {

namespace {
template <typename T>
bool isReady(const std::future<T>& f) {
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

void FloatPrefetch::abandon() {
    // A preparation no longer wanted finishes on its own; nobody waits for it now.
    std::erase_if(abandoned_, [](const std::future<PreparedPicture>& old) { return isReady(old); });
    if (pending_.valid()) abandoned_.push_back(std::move(pending_));
}

void FloatPrefetch::launch(const QString& path, Preparer preparer) {
    abandon();
    path_ = path;
    stamp_ = stampOf(path);
    pending_ = std::async(std::launch::async, std::move(preparer), path);
}

void FloatPrefetch::start(const QString& path, Preparer preparer) {
    if (pending_.valid() && path_ == path && stamp_ == stampOf(path)) return;
    launch(path, std::move(preparer));
}

void FloatPrefetch::request(const QString& path, const Preparer& preparer) {
    const Stamp now = stampOf(path);
    if (!now.exists) {
        // Loading a file that is gone raises here; should it come back
        // meanwhile, its picture is the one taken.
        std::promise<PreparedPicture> direct;
        direct.set_value(preparer(path));
        abandon();
        pending_ = direct.get_future();
    } else if (pending_.valid() && path_ == path && stamp_ == now) {
        ++used_;
    } else {
        launch(path, preparer);
    }
    // The request is taken as it is; a later start() prepares afresh.
    path_.clear();
}

bool FloatPrefetch::ready() const { return !pending_.valid() || isReady(pending_); }

PreparedPicture FloatPrefetch::take() {
    std::future<PreparedPicture> done = std::move(pending_);
    return done.get();
}

}  // namespace display
