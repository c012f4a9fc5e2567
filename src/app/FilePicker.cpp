// The file dialogs.
#include "app/FilePicker.h"

#include <QFileDialog>

namespace kradon {
namespace {

PickedName runDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

PickedName DialogFilePicker::saveName(QWidget* parent, const QString& title,
                                      const QStringList& filters, const QString& defaultSuffix,
                                      const QString& startAt) {
    QFileDialog dialog(parent, title, startAt);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    return runDialog(dialog);
}

PickedName DialogFilePicker::openName(QWidget* parent, const QStringList& filters,
                                      const QString& defaultSuffix, const QString& startAt) {
    QFileDialog dialog(parent, QString(), startAt);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    return runDialog(dialog);
}

PickedName DialogFilePicker::folderName() {
    QFileDialog dialog(nullptr, QString());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return runDialog(dialog);
}

QStringList DialogFilters(const QString& barSeparated) {
    const QStringList parts = barSeparated.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        // "*.*" matches every file on the desktop the filter was written for; "*" does here.
        patterns.replace("*.*", "*");
        filters << parts[i] + " (" + patterns.replace(';', ' ') + ")";
    }
    return filters;
}

} // namespace kradon
