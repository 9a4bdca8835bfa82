#include "app/ui/save_file_dialog.h"

#include <QFileDialog>

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& startPath, const QString& filter)
{
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
