#pragma once
// The main window, "MainDialog": the page tree with the title strip and the page pane beside it, the
// status strip with the node text and the two exchange lamps, and the menus. It owns the meter driver
// with its host, the node base and the free-port table for its whole life; closing it stops the
// driver's threads (a running command first) before anything else goes.

#include "app/app_environment.h"
#include "channel/free_ports.h"
#include "config/config_messages.h"
#include "config/working_copy_state.h"
#include "gui/app/gui_driver_host.h"
#include "gui/archives/archive_export_runner.h"
#include "gui/archives/archive_range_runner.h"
#include "gui/widgets/page_host.h"
#include "nodes/demo_node.h"
#include "nodes/node_base.h"
#include "protocol/rkm8.h"
#include "protocol/rkm8_calibration.h"
#include "protocol/rovo_redod.h"

#include <QMainWindow>
#include <QSize>

class CDlgMainConfig;
class CDlgMainConfigArchive;
class CDlgTrends;
class CDlgStatement;
class CDlgReadData;
class CDlgParentWithMyProperty;
class DriverProgressTexts;
class ConfigPageTree;
class ExchangeMonitorWindow;
class MessagePresenter;
class PageTree;
class QAction;
class QSplitter;
class StatusStrip;
struct UserMessage;

class MainDialog : public QMainWindow, public PageHost, private ConfigMessageHost {
    Q_OBJECT

public:
    static constexpr const char* kWindowName = "MainDialog";
    static constexpr int kDesignedTreeWidth = 220;
    // The smallest window at which no page is cut, and the size of a first window.
    static constexpr QSize kMinimumWindowSize{1100, 720};
    static constexpr QSize kFirstWindowSize{1200, 800};

    MainDialog(AppEnvironment& environment, MessagePresenter& presenter, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Adds a page to the tree and the pane (see PageTree::AddPage); the window takes it over.
    CDlgParentWithMyProperty* AddPage(const QString& caption, CDlgParentWithMyProperty* page, int parentId, int pageId);
    // Adds the first page, "Конфигурирование", with the configuration pages below it, and selects it.
    CDlgMainConfig* AddMainConfigPage();
    // Adds the frame of the archive pages with the archives page "Архивы (отладка)", the trends page
    // "Графики" and the statement page "Ведомость" under it.
    CDlgReadData* AddReadDataPage();

    // --demo: the node of the demo meter goes into the base (or is brought up to date) and is chosen;
    // the node list then opens on it until the user chooses another node.
    void UseDemoMeter(const DemoMeterAddress& meter);

    // PageHost
    CRovoRedod& Driver() override { return m_driver; }
    AppEnvironment& Environment() override { return m_environment; }
    int ShowMessage(const QString& text, const QString& caption, unsigned style) override;
    bool SelectNode() override;
    std::uint32_t ChosenNodeSerial() const override { return std::uint32_t(m_appliedNode.SerialNumber()); }
    void SelectPage(int pageId) override;
    void ConfigurationLabelsChanged() override;
    bool KeepEditedConfiguration() override;
    // The help page of the page in view (or of the nearest page above it that has one).
    QString CurrentHelpPage() const;

    // What "Открыть настройки из файла..." does once the file is chosen: the driver's configuration is
    // replaced and the pages refresh. False when nothing was opened.
    bool OpenSettingsFileNamed(const QString& name);

    void SetStatusText(const QString& text);
    QString StatusText() const;
    StatusStrip* Status() const { return m_status; }
    PageTree* Pages() const { return m_pages; }
    QSplitter* Splitter() const { return m_splitter; }
    CDlgMainConfig* MainConfig() const { return m_mainConfig; }
    CDlgReadData* ReadData() const { return m_readData; }
    CDlgMainConfigArchive* ArchivePage() const { return m_archivePage; }
    CDlgTrends* TrendsPage() const { return m_trendsPage; }
    CDlgStatement* StatementPage() const { return m_statementPage; }
    ConfigPageTree* ConfigPages() const { return m_configPages; }
    const NodeBase& Nodes() const { return m_base; }
    // Which COM ports a new node may take (all of them while the start-up search is off).
    const FreePortTable& FreePorts() const { return m_freePorts; }
    bool IsMonitorShown() const;
    ExchangeMonitorWindow* Monitor() const { return m_monitor; }

signals:
    // The configuration changed what the page tree's labels show.
    void configurationLabelsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void WireHost();
    // `texts` shows the driver's connection, operation and detail texts.
    void ConnectProgressTexts(DriverProgressTexts* texts);
    void ApplyNode(const NodeRecord& node);
    // Put to the user when the node base on disk is damaged: keep it aside and start afresh?
    AppEnvironment::FreshBaseQuestion OfferFreshBase();
    void Show(const UserMessage& message);
    void OpenSettingsFile();
    void SaveSettingsFile();
    void ToggleMonitor();
    void OnBusyChanged();
    // Every page shows the configuration again and the tree relabels: it was read or opened.
    void RefreshAfterReplace();
    void ShutDown();

    AppEnvironment& m_environment;
    MessagePresenter& m_presenter;
    NodeBase m_base;
    FreePortTable m_freePorts;
    GuiDriverHost m_host;
    // The reference stand's link and the calibrations run with it outlive the driver's threads.
    CRkm8 m_stand;
    Rkm8Calibration m_calibration{m_stand};
    ArchiveExportRunner m_archiveExport;  // command 16 of the driver, 17 and 18 through m_calibration
    ArchiveRangeRunner m_archiveRange;    // command 20 (trends, statement); the others through m_archiveExport
    CRovoRedod m_driver;                  // after the host and the extensions: it goes first
    PageTree* m_pages = nullptr;
    StatusStrip* m_status = nullptr;
    NodeRecord m_appliedNode;  // the node the status line names
    QSplitter* m_splitter = nullptr;
    CDlgMainConfig* m_mainConfig = nullptr;
    CDlgReadData* m_readData = nullptr;
    CDlgMainConfigArchive* m_archivePage = nullptr;
    CDlgTrends* m_trendsPage = nullptr;
    CDlgStatement* m_statementPage = nullptr;
    ConfigPageTree* m_configPages = nullptr;
    ExchangeMonitorWindow* m_monitor = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    WorkingCopyState m_workingCopy;
    bool m_splitterPlaced = false;
    bool m_shutDown = false;
    bool m_offerDemoNode = false;  // the node list opens on "Демо-прибор"
};
