// Form2: the settings dialog.
#pragma once

#include <QDialog>

#include "platform/environment.h"
#include "settings/settings.h"

namespace dialog {

class Form2 : public QDialog {
    Q_OBJECT
public:
    Form2(settings::Settings& settings, platform::Environment& env, QWidget* parent = nullptr);

    void Form_Load();

private:
    settings::Settings& settings_;
    platform::Environment& env_;
};

}  // namespace dialog
