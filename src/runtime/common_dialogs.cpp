#include "runtime/common_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QWidget>

namespace platform {

namespace {
// Without a window manager nobody hands the keyboard back to the window
// that opened the dialog; ask for it.
void giveBackFocus(QWidget* parent) {
    if (parent && parent->isVisible()) parent->window()->activateWindow();
}
}  // namespace

std::optional<QStringList> QtCommonDialogs::ShowOpenFiles(QWidget* parent, const OpenFileRequest& request) {
    QFileDialog dialog(parent, request.title);
    // Qt's own dialog: it takes typed paths and needs no desktop portal.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
        dialog.selectNameFilter(request.filters[request.filterIndex]);
    if (!request.folder.isEmpty()) dialog.setDirectory(request.folder);
    const int result = dialog.exec();
    giveBackFocus(parent);
    if (result != QDialog::Accepted) return std::nullopt;
    QStringList files = dialog.selectedFiles();
    files.removeAll(QString());
    if (files.isEmpty()) return std::nullopt;
    return files;
}

std::optional<QString> QtCommonDialogs::ShowFolder(QWidget* parent, const QString& title, const QString& start) {
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!start.isEmpty()) dialog.setDirectory(start);
    const int result = dialog.exec();
    giveBackFocus(parent);
    if (result != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return chosen.first();
}

std::optional<QColor> QtCommonDialogs::ShowColor(QWidget* parent, const QColor& current) {
    QColorDialog dialog(current, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    const int result = dialog.exec();
    giveBackFocus(parent);
    if (result != QDialog::Accepted) return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

}  // namespace platform
