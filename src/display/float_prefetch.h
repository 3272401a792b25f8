// Decodes the next Float picture ahead of its turn, in a worker thread, so a
// huge picture does not freeze the display when its change comes. At its
// turn the picture is used only if the file is still the one decoded;
// otherwise it is loaded again, and a file gone by then fails as a direct
// load would.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <future>
#include <vector>

namespace display {

class FloatPrefetch {
public:
    using Loader = std::function<QImage(const QString&)>;
    // `loader` runs in the worker; it raises the loading errors.
    explicit FloatPrefetch(Loader loader);
    ~FloatPrefetch();
    FloatPrefetch(const FloatPrefetch&) = delete;
    FloatPrefetch& operator=(const FloatPrefetch&) = delete;

    // Starts decoding `path` unless it is already being decoded.
    void start(const QString& path);

    // The picture at `path` as the file is now. `whileWaiting` runs over and
    // over while a decode is under way, so the display keeps going. Raises
    // what loading the file raises.
    QImage take(const QString& path, const std::function<void()>& whileWaiting);

    // How many decodes were started and how many were used at their turn.
    int started() const { return started_; }
    int used() const { return used_; }

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);
    void launch(const QString& path);

    Loader loader_;
    QString path_;
    Stamp stamp_;
    std::future<QImage> pending_;
    std::vector<std::future<QImage>> abandoned_;
    int started_ = 0;
    int used_ = 0;
};

}  // namespace display
