#pragma once
// "Параметры": where the program keeps its service files, and which device each serial port number
// stands for. OK checks the folder and writes everything at once; Cancel leaves the store untouched.

#include "app/app_environment.h"
#include "channel/port_table.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class PortTableEditor;

class ProgramOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // `ports` is the table in use: devices plugged in under `deviceFolder` since it was last looked at
    // get their numbers as the dialog opens, and it is brought up to date on OK.
    ProgramOptionsDialog(AppEnvironment& env, QWidget* parent, PortTable& ports = PortTable::Global(),
                         const QString& deviceFolder = QStringLiteral("/dev"));

    void accept() override;

private:
    QWidget* CreateFolderPage();
    void UseProgramFolder(bool use);
    void Browse();

    AppEnvironment& m_env;
    PortTable& m_ports;
    QString m_otherFolder;  // "Другой:" while the program folder is chosen
    QCheckBox* m_useProgramFolder = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    PortTableEditor* m_portEditor = nullptr;
};
