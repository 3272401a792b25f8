// Draws Glidorama's own sample pictures and its preview picture into a
// folder (assets/ in the source tree):
//
//     build/tools/glidorama_make_samples assets
//
// Everything is drawn from shapes and a fixed random seed, with no fonts, so
// running it again gives the same pictures.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

#include "gif_writer.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void verticalGradient(QPainter& p, const QRectF& area, std::initializer_list<std::pair<double, QColor>> stops) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    for (const auto& [at, colour] : stops) g.setColorAt(at, colour);
    p.fillRect(area, g);
}

// A ridge line across the picture: y = base + sum of waves.
QPainterPath ridge(double width, double height, double base, std::initializer_list<std::pair<double, double>> waves,
                   double phase) {
    QPainterPath path(QPointF(0, height));
    for (int x = 0; x <= int(width); x += 4) {
        double y = base;
        for (const auto& [amplitude, length] : waves) y += amplitude * std::sin(x / length * 2 * kPi + phase * length);
        path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

// Night sky, green and violet curtains of light, stars, mountains and their
// reflection in a lake.
QImage aurora() {
    QImage image = canvas(640, 400);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    verticalGradient(p, QRectF(0, 0, 640, 300),
                     {{0, QColor(5, 8, 30)}, {0.6, QColor(20, 30, 80)}, {1, QColor(60, 40, 90)}});
    QRandomGenerator random(1);
    for (int i = 0; i < 260; ++i) {
        const double size = random.bounded(1.0) < 0.9 ? 1.0 : 2.2;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 230, 120 + random.bounded(135)));
        p.drawEllipse(QPointF(random.bounded(640.0), random.bounded(260.0)), size / 2 + 0.3, size / 2 + 0.3);
    }
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    const struct {
        QColor colour;
        double base, swing, phase, height;
    } curtains[] = {
        {QColor(40, 255, 140), 150, 40, 0.0, 110},
        {QColor(60, 220, 200), 110, 30, 1.7, 80},
        {QColor(170, 70, 230), 70, 25, 3.1, 60},
    };
    for (const auto& c : curtains) {
        for (int x = 0; x < 640; x += 2) {
            const double bottom = c.base + c.swing * std::sin(x / 97.0 + c.phase) + 12 * std::sin(x / 23.0 + c.phase);
            const double strength = 0.55 + 0.45 * std::sin(x / 11.0 + c.phase * 3);
            QLinearGradient g(0, bottom - c.height, 0, bottom);
            QColor top = c.colour;
            top.setAlpha(0);
            QColor low = c.colour;
            low.setAlpha(int(90 * strength));
            g.setColorAt(0, top);
            g.setColorAt(0.85, low);
            g.setColorAt(1, QColor(255, 255, 255, int(60 * strength)));
            p.fillRect(QRectF(x, bottom - c.height, 2, c.height), g);
        }
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPainterPath far = ridge(640, 300, 235, {{22, 170}, {9, 53}}, 0.3);
    const QPainterPath near = ridge(640, 300, 262, {{16, 230}, {6, 41}}, 1.1);
    p.fillPath(far, QColor(35, 40, 70));
    p.fillPath(near, QColor(12, 14, 30));
    // The lake mirrors the sky, darker and rippled.
    const QImage sky = image.copy(0, 0, 640, 300).mirrored(false, true);
    for (int y = 300; y < 400; ++y) {
        const int shift = int(3 * std::sin(y * 0.9));
        p.drawImage(QPointF(shift, y), sky, QRectF(0, y - 300 + 200, 640, 1));
    }
    p.fillRect(QRectF(0, 300, 640, 100), QColor(0, 10, 30, 110));
    p.fillRect(QRectF(0, 299, 640, 2), QColor(150, 255, 200, 90));
    return image;
}

// A red and white lighthouse on a rock under a blue sky, its lamp lit.
QImage tower() {
    QImage image = canvas(220, 340);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    verticalGradient(p, QRectF(0, 0, 220, 260), {{0, QColor(30, 110, 210)}, {1, QColor(170, 215, 250)}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    for (const QPointF c : {QPointF(40, 60), QPointF(62, 52), QPointF(80, 64), QPointF(170, 110), QPointF(190, 104)})
        p.drawEllipse(c, 22, 12);
    verticalGradient(p, QRectF(0, 260, 220, 80), {{0, QColor(20, 90, 160)}, {1, QColor(5, 40, 90)}});
    p.setPen(QPen(QColor(220, 240, 255, 160), 1.5));
    for (int y = 268; y < 340; y += 9)
        for (int x = (y / 9 % 2) * 14; x < 220; x += 28) p.drawLine(QPointF(x, y), QPointF(x + 10, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 60, 55));
    p.drawPolygon(QPolygonF({QPointF(40, 340), QPointF(60, 285), QPointF(95, 270), QPointF(150, 274), QPointF(178, 295),
                             QPointF(195, 340)}));
    // The tower narrows upward, in red and white bands.
    const double bottom = 280, top = 95, halfBottom = 30, halfTop = 19, centre = 118;
    for (int band = 0; band < 6; ++band) {
        const double y0 = bottom - (bottom - top) * band / 6, y1 = bottom - (bottom - top) * (band + 1) / 6;
        const double w0 = halfBottom + (halfTop - halfBottom) * band / 6;
        const double w1 = halfBottom + (halfTop - halfBottom) * (band + 1) / 6;
        p.setBrush(band % 2 ? QColor(245, 245, 240) : QColor(210, 30, 40));
        p.drawPolygon(QPolygonF(
            {QPointF(centre - w0, y0), QPointF(centre + w0, y0), QPointF(centre + w1, y1), QPointF(centre - w1, y1)}));
    }
    p.setBrush(QColor(40, 40, 45));
    p.drawRect(QRectF(centre - 25, top - 6, 50, 6));
    QRadialGradient glow(QPointF(centre, top - 20), 90);
    glow.setColorAt(0, QColor(255, 250, 180, 230));
    glow.setColorAt(1, QColor(255, 250, 180, 0));
    p.setBrush(glow);
    p.drawPolygon(QPolygonF({QPointF(centre, top - 20), QPointF(0, top - 60), QPointF(0, top + 10)}));
    p.drawPolygon(QPolygonF({QPointF(centre, top - 20), QPointF(220, top - 45), QPointF(220, top + 15)}));
    p.setBrush(QColor(255, 230, 90));
    p.drawRect(QRectF(centre - 15, top - 32, 30, 26));
    p.setBrush(QColor(210, 30, 40));
    p.drawPolygon(
        QPolygonF({QPointF(centre - 20, top - 32), QPointF(centre + 20, top - 32), QPointF(centre, top - 52)}));
    return image;
}

// Two sets of rings on water meeting each other, with a red leaf afloat.
QImage ripples() {
    QImage image = canvas(200, 140);
    const QPointF a(60, 55), b(150, 95);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double da = std::hypot(x - a.x(), y - a.y()), db = std::hypot(x - b.x(), y - b.y());
            const double wave = std::sin(da / 4.0) * std::exp(-da / 90) + std::sin(db / 3.5) * std::exp(-db / 80);
            const double light = std::clamp(0.5 + 0.45 * wave, 0.0, 1.0);
            line[x] = qRgb(int(20 + 120 * light * light), int(90 + 130 * light), int(150 + 100 * light));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 50, 30));
    QPainterPath leaf;
    leaf.moveTo(52, 50);
    leaf.quadTo(62, 38, 74, 46);
    leaf.quadTo(64, 60, 52, 50);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(110, 30, 10), 1));
    p.drawLine(QPointF(52, 50), QPointF(74, 46));
    return image;
}

// A seven by seven mosaic of glazed tiles, each with its own motif and hue.
QImage tiles() {
    QImage image = canvas(280, 280);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            const QRectF tile(column * 40 + 1, row * 40 + 1, 38, 38);
            const int hue = (column * 47 + row * 83) % 360;
            QLinearGradient g(tile.topLeft(), tile.bottomRight());
            g.setColorAt(0, QColor::fromHsv(hue, 200, 250));
            g.setColorAt(1, QColor::fromHsv(hue, 255, 150));
            p.fillRect(tile, g);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromHsv((hue + 180) % 360, 120, 255));
            const QPointF c = tile.center();
            switch ((row + 2 * column) % 4) {
                case 0: p.drawEllipse(c, 11, 11); break;
                case 1:
                    p.drawPolygon(
                        QPolygonF({c + QPointF(0, -14), c + QPointF(14, 0), c + QPointF(0, 14), c + QPointF(-14, 0)}));
                    break;
                case 2:
                    p.drawPie(QRectF(tile.left() - 19, tile.top() - 19, 38, 38), -90 * 16, 90 * 16);
                    p.drawPie(QRectF(tile.right() - 19, tile.bottom() - 19, 38, 38), 90 * 16, 90 * 16);
                    break;
                default:
                    p.drawRect(QRectF(c.x() - 12, c.y() - 4, 24, 8));
                    p.drawRect(QRectF(c.x() - 4, c.y() - 12, 8, 24));
                    break;
            }
        }
    }
    return image;
}

// Sand dunes in evening light under a low sun, birds in the sky.
QImage dunes() {
    QImage image = canvas(360, 480);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    verticalGradient(p, QRectF(0, 0, 360, 480),
                     {{0, QColor(60, 70, 160)}, {0.35, QColor(240, 130, 90)}, {0.55, QColor(255, 210, 120)}});
    QRadialGradient sun(QPointF(250, 200), 70);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(0.45, QColor(255, 230, 140));
    sun.setColorAt(1, QColor(255, 200, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(250, 200), 70, 70);
    const struct {
        double base;
        double swing;
        double length;
        double phase;
        QColor lit, shade;
    } layers[] = {
        {250, 18, 300, 0.2, QColor(225, 150, 90), QColor(170, 95, 60)},
        {300, 26, 260, 1.3, QColor(235, 165, 95), QColor(180, 100, 55)},
        {360, 30, 330, 2.6, QColor(240, 180, 105), QColor(175, 105, 60)},
        {420, 24, 280, 4.0, QColor(250, 195, 120), QColor(190, 120, 70)},
    };
    for (const auto& l : layers) {
        const QPainterPath dune = ridge(360, 480, l.base, {{l.swing, l.length}, {l.swing / 4, l.length / 3}}, l.phase);
        QLinearGradient g(0, 0, 360, 0);
        g.setColorAt(0, l.shade);
        g.setColorAt(0.55, l.lit);
        g.setColorAt(1, l.shade);
        p.fillPath(dune, g);
    }
    p.setPen(QPen(QColor(40, 30, 50), 2, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF bird : {QPointF(90, 90), QPointF(120, 110), QPointF(70, 125)}) {
        QPainterPath wing(bird + QPointF(-9, -3));
        wing.quadTo(bird + QPointF(-4, -7), bird);
        wing.quadTo(bird + QPointF(4, -7), bird + QPointF(9, -3));
        p.strokePath(wing, p.pen());
    }
    return image;
}

// The preview: a handful of picture copies of different sizes scattered
// over a black screen, the way the saver looks.
QImage preview() {
    QImage image = canvas(151, 119);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QImage sources[] = {aurora(), tower(), tiles(), dunes(), ripples()};
    QRandomGenerator random(7);
    for (int i = 0; i < 14; ++i) {
        const QImage& source = sources[i % 5];
        const double scale = 0.06 + 0.09 * (i % 4) / 3.0;
        const QSizeF size(source.width() * scale, source.height() * scale);
        const QPointF at(random.bounded(151.0 - size.width()), random.bounded(119.0 - size.height()));
        p.drawImage(QRectF(at, size), source);
    }
    return image;
}

bool write(const QString& folder, const QString& name, const QImage& image, const char* format) {
    const QString path = folder + u'/' + name;
    bool ok = false;
    if (qstrcmp(format, "GIF") == 0) {
        QFile file(path);
        ok = file.open(QIODevice::WriteOnly) && file.write(tools::EncodeGif(image)) > 0;
    } else {
        ok = image.save(path, format, 90);
    }
    std::printf("%s %s %dx%d\n", ok ? "wrote" : "FAILED", qPrintable(path), image.width(), image.height());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <assets folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    bool ok = write(folder, "aurora.jpg", aurora(), "JPEG");
    ok = write(folder, "tower.png", tower(), "PNG") && ok;
    ok = write(folder, "ripples.gif", ripples(), "GIF") && ok;
    ok = write(folder, "tiles.bmp", tiles(), "BMP") && ok;
    ok = write(folder, "dunes.jpg", dunes(), "JPEG") && ok;
    ok = write(folder, "preview.png", preview(), "PNG") && ok;
    return ok ? 0 : 1;
}
