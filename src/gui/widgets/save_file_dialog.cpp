#include "gui/widgets/save_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Where the user last saved in this run of the program.
QString& LastSaveFolder()
{
    static QString folder;
    return folder;
}

QString StartPath(const QString& startPath)
{
    if (!startPath.isEmpty() && QFileInfo(startPath).isAbsolute())
        return startPath;
    const QString folder = DefaultSaveFolder();
    return startPath.isEmpty() ? folder : QDir(folder).filePath(startPath);
}

}  // namespace

QString DefaultSaveFolder()
{
    if (!LastSaveFolder().isEmpty() && QFileInfo(LastSaveFolder()).isDir())
        return LastSaveFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& startPath, const QString& filter,
                       QString* chosenFilter)
{
    QFileDialog dialog(parent, title, StartPath(startPath), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    LastSaveFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}
