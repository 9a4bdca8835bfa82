#include "gui/app/main_dialog.h"

#include "app/port_table_settings.h"
#include "base/message_style.h"
#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "channel/port_table.h"
#include "gui/app/about_dialog.h"
#include "gui/app/licence_dialog.h"
#include "gui/app/program_options_dialog.h"
#include "gui/app/status_strip.h"
#include "gui/archives/archive_database_dialog.h"
#include "gui/archives/archive_debug_page.h"
#include "gui/archives/archives_frame_page.h"
#include "gui/archives/statement_page.h"
#include "gui/archives/trends_page.h"
#include "gui/config/config_page_tree.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/config/maker_service_page.h"
#include "gui/config/tunes_file_dialogs.h"
#include "gui/monitor/exchange_monitor_window.h"
#include "gui/widgets/driver_progress_texts.h"
#include "gui/widgets/help_window.h"
#include "gui/widgets/message_presenter.h"
#include "gui/widgets/page_tree.h"
#include "gui/widgets/splitter_placement.h"
#include "gui/widgets/window_placement_keeper.h"
#include "nodes/apply_node.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

const QString kApplicationTitle = QStringLiteral("ЗТ5 Конфигуратор");
const QString kReadDataCaption = QStringLiteral("Архивы");
const QString kArchivePageCaption = QStringLiteral("Архивы (отладка)");
const QString kTrendsPageCaption = QStringLiteral("Графики");
const QString kStatementPageCaption = QStringLiteral("Ведомость");

SettingValue<int> MonitorShowSetting(SettingsStore& store)
{
    return SettingsSection(store, SettingsSections::kIoMonitor).Value(QStringLiteral("Show"), 0);
}

}  // namespace

MainDialog::MainDialog(AppEnvironment& environment, MessagePresenter& presenter, QWidget* parent)
    : QMainWindow(parent),
      m_environment(environment),
      m_presenter(presenter),
      m_freePorts(FreePortTable::AllFree()),
      m_host(presenter),
      m_archiveExport(environment, &m_calibration),
      m_archiveRange(environment, &m_archiveExport)
{
    setObjectName(QString::fromLatin1(kWindowName));
    setWindowTitle(kApplicationTitle);
    BuildLayout();
    BuildMenus();

    // The service files: a silent check, the base stays empty when the folder is not usable.
    m_environment.LoadNodeBase(m_base, nullptr);
    m_monitor = new ExchangeMonitorWindow(m_environment.Settings(), this);
    m_monitor->setWindowFlag(Qt::Window);
    if (MonitorShowSetting(m_environment.Settings()).Get() != 0)
        m_monitor->show();

    m_host.SetDialogParent(this);
    WireHost();
    m_stand.AttachHost(&m_host);
    m_driver.AttachHost(&m_host);
    m_driver.SetCommandExtensions(&m_archiveRange);
    m_driver.StartThreads();
    // The copy a fresh window starts with is nobody's work.
    m_workingCopy.MarkStored(m_driver.Configuration());

    // Serial devices seen for the first time get their COM numbers; the port search is off, so every
    // port counts as free.
    RefreshPortTable(m_environment.Settings(), PortTable::Global());

    // Every page shows whole from this size up; with no stored placement the window opens roomier, or
    // fills most of a smaller screen.
    setMinimumSize(kMinimumWindowSize);
    QSize first = kFirstWindowSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        first = first.boundedTo(screen->availableGeometry().size() * 9 / 10).expandedTo(kMinimumWindowSize);
    resize(first);
    auto* placement = new WindowPlacementKeeper(this, m_environment.Settings(), QString::fromLatin1(kWindowName),
                                                WindowPlacementKeeper::WhenMaximised::Store);
    placement->Restore();
}

MainDialog::~MainDialog()
{
    ShutDown();
    // The pages go while the driver they talk to is still there, and the tree tells nobody about it.
    disconnect(m_pages->Tree(), nullptr, m_pages, nullptr);
    delete takeCentralWidget();
}

void MainDialog::BuildLayout()
{
    m_pages = new PageTree(kApplicationTitle, this);
    auto* pageSide = new QWidget;
    auto* pageLayout = new QVBoxLayout(pageSide);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_pages->TitleStrip());
    pageLayout->addWidget(m_pages->Pane(), 1);

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("pageSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_pages->Tree()->setMinimumWidth(SplitterPlacement::kMinPaneWidth);
    pageSide->setMinimumWidth(SplitterPlacement::kMinPaneWidth);
    m_splitter->addWidget(m_pages->Tree());
    m_splitter->addWidget(pageSide);
    m_splitter->setStretchFactor(1, 1);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        SplitterPlacement(m_environment.Settings(), QString::fromLatin1(kWindowName))
            .Store(*m_splitter, kDesignedTreeWidth);
    });

    m_status = new StatusStrip;
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(m_splitter, 1);
    layout->addWidget(m_status);
    setCentralWidget(central);
}

void MainDialog::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    m_openAction = file->addAction(QStringLiteral("Открыть настройки из файла..."), this,
                                   &MainDialog::OpenSettingsFile);
    m_saveAction = file->addAction(QStringLiteral("Сохранить настройки в файл..."), this,
                                   &MainDialog::SaveSettingsFile);
    file->addSeparator();
    // Closes as the window's own close button does, with the same questions while a command runs.
    QAction* quit = file->addAction(QStringLiteral("Выход"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    view->addAction(QStringLiteral("Монитор обменов..."), this, &MainDialog::ToggleMonitor);
    QMenu* settings = menuBar()->addMenu(QStringLiteral("Настройки программы"));
    settings->addAction(QStringLiteral("Параметры программы..."), this,
                        [this] { ProgramOptionsDialog(m_environment, this).exec(); });
    settings->addAction(QStringLiteral("База данных архивов..."), this,
                        [this] { ArchiveDatabaseDialog(m_environment, this).exec(); });
    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->addAction(QStringLiteral("Справка..."), this, [this] { HelpWindow::ShowHelp(this); });
    // F1 anywhere in the window: the help of the page in view (a key only, the menu stays as it is).
    auto* pageHelp = new QAction(QStringLiteral("Справка по странице"), this);
    pageHelp->setShortcut(QKeySequence::HelpContents);
    pageHelp->setShortcutContext(Qt::WindowShortcut);
    connect(pageHelp, &QAction::triggered, this, [this] { HelpWindow::ShowHelp(this, CurrentHelpPage()); });
    addAction(pageHelp);
    help->addAction(QStringLiteral("О программе..."), this, [this] { AboutDialog(this).exec(); });
    help->addAction(QStringLiteral("Лицензионное соглашение..."), this, [this] { LicenceDialog::ShowLicence(this); });
}

void MainDialog::WireHost()
{
    connect(&m_host, &GuiDriverHost::logLine, m_monitor, &ExchangeMonitorWindow::Append);
    connect(&m_host, &GuiDriverHost::lampFlashed, this,
            [this](int lamp) { m_status->Flash(static_cast<DriverHost::Lamp>(lamp)); });
    connect(&m_host, &GuiDriverHost::busyChanged, this, &MainDialog::OnBusyChanged);
    // A break of the connection between commands changes what the archive pages may do.
    connect(&m_host, &GuiDriverHost::deviceInformation, this, &MainDialog::OnBusyChanged);
    connect(&m_host, &GuiDriverHost::configurationRead, this, [this] {
        RefreshAfterReplace();
        m_status->SetStatusText(NodeStatusText(m_appliedNode, m_driver.Configuration().identity.serialNumber));
        // Shown again after the pages have brought it into line: that much is not the user's edit.
        // The driver says what this very connect did: a flag kept here could be reset by a late
        // notification of the command before it.
        if (!m_driver.Data().connectKeptConfiguration)
            m_workingCopy.MarkStored(m_driver.Configuration());
    });
}

CDlgParentWithMyProperty* MainDialog::AddPage(const QString& caption, CDlgParentWithMyProperty* page, int parentId,
                                              int pageId)
{
    return m_pages->AddPage(caption, page, parentId, pageId);
}

void MainDialog::ConnectProgressTexts(DriverProgressTexts* texts)
{
    connect(&m_host, &GuiDriverHost::connectionText, texts, &DriverProgressTexts::SetConnectionText);
    connect(&m_host, &GuiDriverHost::operationText, texts, &DriverProgressTexts::SetOperationText);
    connect(&m_host, &GuiDriverHost::detailText, texts, &DriverProgressTexts::SetDetailText);
}

CDlgMainConfig* MainDialog::AddMainConfigPage()
{
    m_mainConfig = new CDlgMainConfig(*this);
    m_mainConfig->SetHelpPage(QStringLiteral("configuration.html"));
    connect(&m_host, &GuiDriverHost::connectionText, m_mainConfig, &CDlgMainConfig::SetConnectionText);
    connect(&m_host, &GuiDriverHost::operationText, m_mainConfig, &CDlgMainConfig::SetOperationText);
    connect(&m_host, &GuiDriverHost::detailText, m_mainConfig, &CDlgMainConfig::SetDetailText);
    connect(&m_host, &GuiDriverHost::deviceInformation, m_mainConfig, &CDlgMainConfig::SetDeviceInformation);
    connect(m_mainConfig, &CDlgMainConfig::openFileRequested, this, &MainDialog::OpenSettingsFile);
    connect(m_mainConfig, &CDlgMainConfig::saveFileRequested, this, &MainDialog::SaveSettingsFile);
    connect(m_mainConfig, &CDlgMainConfig::configurationWritten, this,
            [this] { m_workingCopy.MarkStored(m_driver.Configuration()); });
    AddPage(QStringLiteral("Конфигурирование"), m_mainConfig, PageTree::kNoParent, CDlgMainConfig::kPageId);
    m_configPages = new ConfigPageTree(*m_pages, *this, this);
    connect(m_configPages, &ConfigPageTree::relabelled, m_mainConfig, &CDlgMainConfig::RefreshSubPages);
    connect(this, &MainDialog::configurationLabelsChanged, m_configPages, &ConfigPageTree::Relabel);
    m_configPages->Build();
    auto* service = new CDlgMainConfigService(*this, m_stand);
    service->SetHelpPage(QStringLiteral("maker-service.html"));
    ConnectProgressTexts(service->Texts());
    AddPage(QStringLiteral("Сервис производителя"), service, CDlgMainConfig::kPageId, CDlgMainConfigService::kPageId);
    m_mainConfig->SetPageTree(m_pages);
    SelectPage(CDlgMainConfig::kPageId);
    return m_mainConfig;
}

CDlgReadData* MainDialog::AddReadDataPage()
{
    m_readData = new CDlgReadData(*this);
    m_readData->SetHelpPage(QStringLiteral("archives.html"));
    ConnectProgressTexts(m_readData->Texts());
    AddPage(kReadDataCaption, m_readData, PageTree::kNoParent, CDlgReadData::kPageId);
    m_archivePage = new CDlgMainConfigArchive(*this, &m_archiveExport);
    ConnectProgressTexts(m_archivePage->Controls().texts);
    AddPage(kArchivePageCaption, m_archivePage, CDlgReadData::kPageId, CDlgMainConfigArchive::kPageId);
    m_trendsPage = new CDlgTrends(*this, m_archiveRange);
    m_trendsPage->SetHelpPage(QStringLiteral("trends.html"));
    AddPage(kTrendsPageCaption, m_trendsPage, CDlgReadData::kPageId, CDlgTrends::kPageId);
    m_statementPage = new CDlgStatement(*this, m_archiveRange);
    m_statementPage->SetHelpPage(QStringLiteral("statement.html"));
    AddPage(kStatementPageCaption, m_statementPage, CDlgReadData::kPageId, CDlgStatement::kPageId);
    return m_readData;
}

QString MainDialog::CurrentHelpPage() const
{
    const QList<PageEntry>& entries = m_pages->Entries();
    const PageEntry* entry = m_pages->Find(m_pages->CurrentPageId());
    while (entry) {
        if (!entry->page->HelpPage().isEmpty())
            return entry->page->HelpPage();
        entry = entry->parentIndex >= 0 ? &entries[entry->parentIndex] : nullptr;
    }
    return QStringLiteral("main-window.html");
}

void MainDialog::SelectPage(int pageId)
{
    m_pages->SelectPage(pageId);
}

void MainDialog::ConfigurationLabelsChanged()
{
    // Only the configuration pages' part of the tree depends on the configuration; it relabels itself.
    emit configurationLabelsChanged();
}

bool MainDialog::KeepEditedConfiguration()
{
    if (!m_workingCopy.HoldsUnstored(m_driver.Configuration()))
        return false;
    const int answer = ShowMessage(QStringLiteral("Настройки, измененные или открытые из файла, будут заменены "
                                                  "прочитанными из прибора. Продолжить?"),
                                   QString::fromUtf8(kCaptionQuestion),
                                   MessageStyle::kYesNo | MessageStyle::kIconQuestion);
    return answer != MessageAnswer::kYes;
}

int MainDialog::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    return m_presenter.Present(this, text, caption, style);
}

void MainDialog::Show(const UserMessage& message)
{
    if (!message.IsEmpty())
        ShowMessage(message.text, message.caption, message.style);
}

void MainDialog::SetStatusText(const QString& text)
{
    m_status->SetStatusText(text);
}

QString MainDialog::StatusText() const
{
    return m_status->StatusText();
}

void MainDialog::OnBusyChanged()
{
    const bool busy = m_driver.IsBusy();
    // The driver's working copy belongs to the command thread while a command runs.
    m_openAction->setEnabled(!busy);
    m_saveAction->setEnabled(!busy);
    if (m_mainConfig)
        m_mainConfig->UpdateBusy();
    if (m_readData)
        m_readData->UpdateStates();
    if (m_archivePage)
        m_archivePage->UpdateStates();
    if (m_trendsPage)
        m_trendsPage->UpdateStates();
    for (const PageEntry& entry : m_pages->Entries())
        entry.page->OnConnectionStateChanged();
}

void MainDialog::OpenSettingsFile()
{
    if (!m_driver.IsBusy())
        OpenSettingsFileNamed(AskTunesFileToOpen(this, m_environment.Settings()));
}

bool MainDialog::OpenSettingsFileNamed(const QString& name)
{
    QString missing;
    if (m_driver.IsBusy()
        || !OpenTunesFileAndRemember(name, m_environment.Settings(), m_driver.Configuration(), *this, &missing))
        return false;
    m_driver.Data().configurationMissing = missing;
    RefreshAfterReplace();
    m_workingCopy.MarkOpenedFromFile(m_driver.Configuration());
    return true;
}

void MainDialog::RefreshAfterReplace()
{
    for (const PageEntry& entry : m_pages->Entries())
        entry.page->OnConfigurationReplaced();
    if (m_configPages)
        m_configPages->Relabel();
}

void MainDialog::SaveSettingsFile()
{
    if (!m_driver.IsBusy() && SaveTunesFileFromUser(this, m_environment.Settings(), m_driver.Configuration(), *this))
        m_workingCopy.MarkStored(m_driver.Configuration());
}

void MainDialog::ToggleMonitor()
{
    const bool show = !m_monitor->isVisible();
    m_monitor->setVisible(show);
    MonitorShowSetting(m_environment.Settings()).Set(show ? 1 : 0);
}

bool MainDialog::IsMonitorShown() const
{
    return m_monitor->isVisible();
}

void MainDialog::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_splitterPlaced)
        return;
    // The panes have their sizes only once the window is laid out.
    m_splitterPlaced = true;
    centralWidget()->layout()->activate();
    const QList<int> sizes = m_splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    m_splitter->setSizes({kDesignedTreeWidth, std::max(total - kDesignedTreeWidth, 0)});
    SplitterPlacement(m_environment.Settings(), QString::fromLatin1(kWindowName))
        .Restore(*m_splitter, kDesignedTreeWidth);
}

void MainDialog::closeEvent(QCloseEvent* event)
{
    ShutDown();
    QMainWindow::closeEvent(event);
}

void MainDialog::ShutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    // The placement itself is stored by its keeper at every move and resize.
    if (m_splitterPlaced)
        SplitterPlacement(m_environment.Settings(), QString::fromLatin1(kWindowName))
            .Store(*m_splitter, kDesignedTreeWidth);
    m_host.ShutDown(m_driver);
    m_driver.TransmitChanel().Disconnect();
    m_stand.TransmitChanel().Disconnect();
}
