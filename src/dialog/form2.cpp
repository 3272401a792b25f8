#include "dialog/form2.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "settings/settings_io.h"

namespace dialog {

Form2::Form2(settings::Settings& settings, platform::Environment& env, QWidget* parent)
    : QDialog(parent), settings_(settings), env_(env) {
    setWindowTitle(QStringLiteral(" Glidorama "));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttons);
}

void Form2::Form_Load() {
    QStringList pictures;
    settings::ReadDialogSettings(settings_, platform::ProfileFile(settings::SettingsPath(env_.appPath)), env_.appPath,
                                 pictures);
}

}  // namespace dialog
