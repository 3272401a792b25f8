// One output (monitor) as the compositor describes it.
#pragma once

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

struct wl_output;

namespace wayland {

class Output {
public:
    // Binds the output global `name` of `version`.
    Output(wl_output* output, uint32_t globalName);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    wl_output* handle() const { return output_; }
    uint32_t globalName() const { return globalName_; }
    // The compositor's name for it ("HEADLESS-1", "DP-2"); empty before
    // wl_output version 4.
    const QString& name() const { return name_; }
    // The current mode in device pixels, and the integer scale.
    QSize pixelSize() const { return pixelSize_; }
    int scale() const { return scale_; }
    // The device pixels a surface on it covers: the mode, turned on its side
    // where the output is rotated a quarter turn.
    QSize deviceSize() const { return turned_ ? pixelSize_.transposed() : pixelSize_; }
    // Whether the first complete description (the "done" event) came.
    bool ready() const { return ready_; }

    // Whether the connection has told of it (see Connection::onOutputAdded).
    bool announced = false;
    // Called after every complete description (the first one included).
    std::function<void()> onDone;

private:
    static void geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                         int32_t);
    static void mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t refresh);
    static void done(void* data, wl_output*);
    static void scale(void* data, wl_output*, int32_t factor);
    static void name(void* data, wl_output*, const char* name);
    static void description(void*, wl_output*, const char*);

    wl_output* output_;
    uint32_t globalName_;
    QString name_;
    QSize pixelSize_;
    int scale_ = 1;
    bool turned_ = false;
    bool ready_ = false;
};

// The largest picture scale among `outputs` for the setting `percent` (0:
// Automatic): the scale cached copies are made for, so that no output shows
// them enlarged.
double LargestPictureScale(const std::vector<Output*>& outputs, int percent);

}  // namespace wayland
