// A picture box: a drawing surface with a picture, a background colour and
// a size in its owner's scale units. It holds no widget; the forms that show
// one draw its image themselves.
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <optional>

#include "runtime/colors.h"
#include "runtime/twips.h"

namespace platform {

// How many twips one scale unit is: the scale modes the program uses.
enum class ScaleMode : int { Twips = 1, Pixels = 3 };
constexpr double TwipsPerUnit(ScaleMode mode) { return mode == ScaleMode::Twips ? 1.0 : kTwipsPerPixel; }

class PictureBox {
public:
    explicit PictureBox(ScaleMode ownerScale = ScaleMode::Pixels) : ownerScale_(ownerScale) {}

    // The scale of the form that holds the box: the unit of Width, Height, Left, Top.
    ScaleMode ownerScale() const { return ownerScale_; }
    void setOwnerScale(ScaleMode mode) { ownerScale_ = mode; }
    // The box's own scale: the unit of PaintPicture's coordinates and ScaleWidth.
    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode mode) { scaleMode_ = mode; }

    // When set, assigning a picture makes the box the picture's natural size.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on) { autoSize_ = on; }

    const QImage& Picture() const { return picture_; }
    // Assigning a picture shows it at the top-left corner over the background.
    // A null image clears the picture.
    void setPicture(const QImage& picture);

    // A side of 0 is a valid size: such a box shows and draws nothing, and
    // keeps its other side.
    double Width() const { return toOwner(size_.width()); }
    double Height() const { return toOwner(size_.height()); }
    void setWidth(double width);
    void setHeight(double height);
    void setPixelSize(int width, int height) { resizeSurface(width, height); }
    // Device pixels to one of the box's pixels: the surface holds that many
    // more, so what is drawn into it shows sharp on a scaled screen. Sizes
    // and positions stay in the box's pixels.
    void setDevicePixelRatio(qreal ratio);
    double ScaleWidth() const { return size_.width() * kTwipsPerPixel / TwipsPerUnit(scaleMode_); }
    double ScaleHeight() const { return size_.height() * kTwipsPerPixel / TwipsPerUnit(scaleMode_); }
    int pixelWidth() const { return size_.width(); }
    int pixelHeight() const { return size_.height(); }

    double Left() const { return toOwner(position_.x()); }
    double Top() const { return toOwner(position_.y()); }
    void setLeft(double left);
    void setTop(double top);
    QPoint pixelPosition() const { return position_; }

    bool Visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    int64_t BackColor() const { return backColor_; }
    void setBackColor(int64_t windowsColor);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style) { borderStyle_ = style; }

    // Clears the surface to the background colour and shows the picture again.
    void Cls();

    // Draws `source` scaled into the destination rectangle (box scale units).
    // Without a source rectangle the whole picture is drawn; without a
    // destination size the picture keeps its natural size.
    struct Rect {
        double x, y, width, height;
    };
    void PaintPicture(const QImage& source, double x1, double y1, std::optional<double> width1 = std::nullopt,
                      std::optional<double> height1 = std::nullopt, std::optional<Rect> sourceRect = std::nullopt);

    // The persistent image: what the box shows (null while a side is 0).
    const QImage& Image() const { return image_; }
    // For drawing into; resize through setPixelSize, never by assignment.
    QImage& surface() { return image_; }

private:
    double toOwner(int pixels) const { return pixels * kTwipsPerPixel / TwipsPerUnit(ownerScale_); }
    int fromOwner(double units) const;
    int fromOwn(double units) const;
    void resizeSurface(int width, int height);
    void makeSurface();

    ScaleMode ownerScale_;
    ScaleMode scaleMode_ = ScaleMode::Pixels;
    bool autoSize_ = false;
    QImage picture_;
    QSize size_{0, 0};
    qreal devicePixelRatio_ = 1;
    QImage image_;
    QPoint position_;
    bool visible_ = true;
    int64_t backColor_ = SystemColorValue(kButtonFace);  // the designed default
    int borderStyle_ = 1;
};

}  // namespace platform
