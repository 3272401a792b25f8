// Module1's preview: one fixed picture copied into the preview window of
// the screen-saver host, then the program ends.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <limits>

#include "runtime/vb.h"
#include "startup/hosted_options.h"
#include "startup/module1.h"
#include "startup/preview.h"
#include "startup/preview_picture.h"
#include "startup/x11_preview.h"

namespace startup {

namespace {

void PumpEvents(int times) {
    for (int i = 0; i < times; ++i) QCoreApplication::processEvents();
}

}  // namespace

std::optional<int32_t> PreviewHandle(const QString& commandLine) {
    // The switch and the separator after it take three characters; a bare
    // "/p" names no window.
    if (commandLine.size() < 3) return std::nullopt;
    const QString number = commandLine.mid(3).trimmed();
    // Hosts write window ids in hex as "0x..."; Val alone would read that as 0.
    if (number.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const auto id = ParseWindowId(number.section(u' ', 0, 0));
        if (!id) return std::nullopt;
        return int32_t(*id);
    }
    double value = 0;
    try {
        value = vb::Val(number);
    } catch (const vb::RuntimeError&) {
        return std::nullopt;  // a number too large for any handle (1e999)
    }
    // A number past the 32-bit range names no window either (rounding it
    // to a handle would overflow).
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return vb::CLng(value);
}

QImage PreviewBlock(const platform::PictureBox& picture) {
    QImage block(kPreviewBlockWidth, kPreviewBlockHeight, QImage::Format_RGB32);
    block.fill(Qt::black);
    QPainter painter(&block);
    painter.drawImage(0, 0, picture.Image());
    return block;
}

void Module1::ShowPreview() {
    previewPicture_ = std::make_unique<PreviewPicture>();
    PumpEvents(200);
    if (const auto handle = PreviewHandle(commandLine_)) {
        // Only a real X server has windows to draw into.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            DrawIntoX11Window(uint32_t(*handle), PreviewBlock(previewPicture_->box));
    }
    PumpEvents(200);
    env_.end->End(0);
}

}  // namespace startup
