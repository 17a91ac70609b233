#include "ui/prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace ui {

QString QtPrompts::ChooseExistingFile(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& lastFile) {
    const QString shown = filter.section('|', 0, 0);
    const QString pattern = filter.section('|', 1);
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);  // names of existing files only
    dialog.setNameFilter(shown + " (" + pattern + ")");
    if (!lastFile.isEmpty()) dialog.selectFile(lastFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::Exclaim(QWidget* parent, const QString& prompt, const QString& title) {
    QMessageBox::warning(parent, title, prompt, QMessageBox::Ok);
}

bool CommonDialog::ShowOpen(Prompts& prompts, QWidget* parent) {
    const QString chosen = prompts.ChooseExistingFile(parent, DialogTitle, Filter, FileName);
    if (chosen.isEmpty()) return false;
    FileName = QFileInfo(chosen).absoluteFilePath();
    FileTitle = QFileInfo(chosen).fileName();
    return true;
}

}  // namespace ui
