#include "dialog/picture_view.h"

#include <QPainter>

namespace dialog {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    box_.setScaleMode(platform::ScaleMode::Twips);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::fitBox() {
    // Both sides at once: a surface with one side still zero has no size at all.
    if (box_.surface().size() == size()) return;
    box_.surface() = QImage(size(), QImage::Format_RGB32);
    box_.Cls();
}

void PictureView::resizeEvent(QResizeEvent*) { fitBox(); }

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, box_.Image());
    // The single-line border of a picture box.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace dialog
