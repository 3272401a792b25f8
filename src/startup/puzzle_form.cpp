#include "startup/puzzle_form.h"

#include <QFile>
#include <QLinearGradient>
#include <QPainter>

namespace startup {

namespace {

// Drawn stand-in for the preview picture: a few glider tiles of falling
// size over a dusk gradient, the way the clone effects fill the screen.
QImage DrawnPreview() {
    QImage image(PuzzleForm::kPictureWidth, PuzzleForm::kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(16, 24, 64));
    sky.setColorAt(1, QColor(120, 40, 90));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    struct Tile { int x, y, size; QColor color; };
    const Tile tiles[] = {{8, 10, 46, QColor(250, 190, 60)}, {62, 22, 36, QColor(90, 200, 230)},
                          {104, 8, 28, QColor(240, 110, 90)}, {30, 66, 30, QColor(140, 230, 120)},
                          {78, 70, 24, QColor(250, 190, 60)}, {114, 58, 18, QColor(90, 200, 230)},
                          {124, 92, 12, QColor(240, 110, 90)}, {10, 102, 10, QColor(140, 230, 120)}};
    for (const Tile& t : tiles) {
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(t.color);
        p.drawRect(t.x, t.y, t.size, t.size);
        p.fillRect(t.x + t.size / 4, t.y + t.size / 4, t.size / 2, t.size / 2, t.color.darker(140));
    }
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(0, image.height() - 16, image.width() - 4, 14), Qt::AlignRight, QStringLiteral("Glidorama"));
    return image;
}

}  // namespace

QImage PreviewPicture() {
    for (const QString& embedded : {QStringLiteral(":/preview.png"), QStringLiteral(":/assets/preview.png")}) {
        if (!QFile::exists(embedded)) continue;
        const QImage image(embedded);
        if (!image.isNull()) return image.convertToFormat(QImage::Format_RGB32);
    }
    return DrawnPreview();
}

PuzzleForm::PuzzleForm() {
    Picture1.setBackColor(0);
    Picture1.setBorderStyle(0);
    Picture1.setWidth(2265);
    Picture1.setHeight(1785);
    Picture1.setPicture(PreviewPicture());
}

}  // namespace startup
