#include "display/form1.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "platform/colors.h"
#include "platform/vb.h"
#include "settings/settings_io.h"

namespace display {

Form1::Form1(settings::Settings& settings, platform::Environment& env, DisplayHost& host)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint),
      settings_(settings), env_(env), host_(host) {
    setWindowTitle(QStringLiteral("Glidorama"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
}

void Form1::Form_Load() {
    const platform::ProfileFile file(settings::SettingsPath(env_.appPath));
    settings::ReadDisplaySettings(settings_, file);
    backColor_ = platform::FromWindowsColor(vb::CLng(settings_.newBackColor));
    settings::ReadPasswordSettings(settings_, file);
    host_.ReadPlatform();
}

double Form1::ScaleWidth() const { return width(); }
double Form1::ScaleHeight() const { return height(); }

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backColor_);
}

void Form1::keyPressEvent(QKeyEvent*) { host_.RequestExit(); }

}  // namespace display
