// Form1: the full-screen display.
#pragma once

#include <QWidget>

#include "display/display_host.h"
#include "platform/environment.h"
#include "settings/settings.h"

namespace display {

class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(settings::Settings& settings, platform::Environment& env, DisplayHost& host);

    // Reads the settings and prepares the display; runs once, before the first show.
    void Form_Load();

    double ScaleWidth() const;
    double ScaleHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    settings::Settings& settings_;
    platform::Environment& env_;
    DisplayHost& host_;
    QColor backColor_;
};

}  // namespace display
