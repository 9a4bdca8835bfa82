#include "gui/app/program_options_dialog.h"

#include "app/port_table_settings.h"
#include "gui/app/port_table_editor.h"
#include "gui/widgets/message_box.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

ProgramOptionsDialog::ProgramOptionsDialog(AppEnvironment& env, QWidget* parent, PortTable& ports,
                                           const QString& deviceFolder)
    : QDialog(parent), m_env(env), m_ports(ports)
{
    setWindowTitle(QStringLiteral("Параметры"));
    // An adapter plugged in since start-up shows up with its number here, without a restart.
    RescanPortTable(env.Settings(), ports, deviceFolder);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(CreateFolderPage(), QStringLiteral("Общие"));
    m_portEditor = new PortTableEditor(ports.Entries(), deviceFolder, this);
    tabs->addTab(m_portEditor, QStringLiteral("Последовательные порты"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ProgramOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgramOptionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    const ProgramOptions options = env.Options();
    m_otherFolder = options.workFolderPath;
    m_useProgramFolder->setChecked(options.UsesProgramFolder());
    UseProgramFolder(options.UsesProgramFolder());
}

QWidget* ProgramOptionsDialog::CreateFolderPage()
{
    auto* page = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("Каталог для сохранения служебный информации:"), page);
    m_useProgramFolder = new QCheckBox(QStringLiteral("Использовать рабочий каталог программы"), group);
    m_useProgramFolder->setObjectName(QStringLiteral("useProgramFolder"));
    m_folder = new QLineEdit(group);
    m_folder->setObjectName(QStringLiteral("otherFolder"));
    m_browse = new QPushButton(QStringLiteral("Обзор..."), group);
    connect(m_useProgramFolder, &QCheckBox::toggled, this, &ProgramOptionsDialog::UseProgramFolder);
    connect(m_browse, &QPushButton::clicked, this, &ProgramOptionsDialog::Browse);

    auto* other = new QHBoxLayout;
    other->addWidget(new QLabel(QStringLiteral("Другой:"), group));
    other->addWidget(m_folder, 1);
    other->addWidget(m_browse);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_useProgramFolder);
    groupLayout->addLayout(other);

    // The start-up port search is off in every run; its switch is kept out of sight.
    auto* portSearch = new QCheckBox(QStringLiteral("При запуске выполнять поиск свободных СОМ-портов"), page);
    portSearch->setVisible(false);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addWidget(portSearch);
    layout->addStretch(1);
    return page;
}

void ProgramOptionsDialog::UseProgramFolder(bool use)
{
    if (use) {
        if (m_folder->isEnabled())
            m_otherFolder = m_folder->text();
        m_folder->setText(m_env.Folder().DefaultFolder());
    } else {
        m_folder->setText(m_otherFolder);
    }
    m_folder->setEnabled(!use);
    m_browse->setEnabled(!use);
}

void ProgramOptionsDialog::Browse()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Выбор каталога для хранения служебной информции"), m_folder->text(),
        QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_folder->setText(folder);
}

void ProgramOptionsDialog::accept()
{
    const bool useProgramFolder = m_useProgramFolder->isChecked();
    if (!useProgramFolder)
        m_otherFolder = m_folder->text();
    // Only a folder that is there will do (a drive root that cannot be looked at has no counterpart
    // here: "/" always exists). A relative path would move with the current folder: refused too.
    const QFileInfo chosen(m_otherFolder);
    if (!useProgramFolder && !(chosen.isAbsolute() && chosen.isDir())) {
        ShowMessageBox(
            this, UserMessage::Information(QStringLiteral("Указанная папка \"%1\" не найдена!").arg(m_otherFolder)));
        return;
    }
    SettingsStore& settings = m_env.Settings();
    const bool written = WriteProgramOptions(settings, ProgramOptions{useProgramFolder ? 1 : 0, m_otherFolder});
    PortTable edited;
    edited.Load(m_portEditor->Entries());
    if (!written || !SavePortTable(settings, edited)) {
        ShowMessageBox(this, UserMessage::Error(settings.LastError()));
        return;
    }
    m_ports.Load(edited.Entries());
    QDialog::accept();
}
