// Prepares the next Float picture ahead of its turn, in a worker thread, so
// a huge picture does not freeze the display when its change comes: the
// decode and the filling of the boxes' surfaces all happen there. At its
// turn the preparation is used only if the file is still the one decoded;
// otherwise it is made again, and a file gone by then fails as a direct
// load would.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "runtime/picture_box.h"

namespace display {

// A picture and the boxes as its change will leave them, made off the UI
// thread from empty boxes set up like the live ones.
struct PreparedPicture {
    QImage picture;
    // The picture at device pixels, as large as its file allows; null when
    // the display has no picture scale.
    QImage sharp;
    // For the animated path: the staging box holding the picture, and the
    // box on show emptied to the picture's size, ready for the transition.
    std::optional<platform::PictureBox> staged;
    std::optional<platform::PictureBox> blank;
    // The box on show holding the picture.
    std::optional<platform::PictureBox> shown;
};

class FloatPrefetch {
public:
    // Runs in the worker; raises the loading errors.
    using Preparer = std::function<PreparedPicture(const QString&)>;

    FloatPrefetch() = default;
    ~FloatPrefetch();
    FloatPrefetch(const FloatPrefetch&) = delete;
    FloatPrefetch& operator=(const FloatPrefetch&) = delete;

    // Starts preparing `path` unless it is already under way for the file as it is.
    void start(const QString& path, Preparer preparer);

    // Asks for `path` prepared from the file as it is now, to be taken next:
    // the preparation under way is kept when it is for the file as it is,
    // otherwise it is made again. A file that is gone raises at once what
    // loading it raises, as a direct load would.
    void request(const QString& path, const Preparer& preparer);
    // Whether the preparation asked for is done.
    bool ready() const;
    // The preparation asked for, waiting for it if need be. Raises what
    // loading the file raised.
    PreparedPicture take();

    // How many preparations were used at their turn.
    int used() const { return used_; }

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);
    void launch(const QString& path, Preparer preparer);
    // Leaves the preparation under way to finish on its own.
    void abandon();

    QString path_;
    Stamp stamp_;
    std::future<PreparedPicture> pending_;
    std::vector<std::future<PreparedPicture>> abandoned_;
    int used_ = 0;
};

}  // namespace display
