#include "dialog/picture_view.h"

#include <QPainter>

namespace dialog {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    box_.setScaleMode(platform::ScaleMode::Twips);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::fitBox() {
    const QSize size = fixedBox_.isValid() ? fixedBox_ : this->size();
    // At the screen's device pixels, so a picture drawn into it stays sharp.
    box_.setDevicePixelRatio(devicePixelRatioF());
    box_.setPixelSize(size.width(), size.height());
}

void PictureView::setBoxSize(QSize pixels) {
    fixedBox_ = pixels;
    fitBox();
}

void PictureView::resizeEvent(QResizeEvent*) { fitBox(); }

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), box_.Image());
    // The single-line border of a picture box.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace dialog
