#pragma once
// The first page, "Конфигурирование": the frame of the configuration pages. Its toolbar connects to the
// meter of the chosen node, breaks the connection and stops the running exchange; below it the
// connection, operation and detail texts, the line about the connected meter, the buttons that move
// the whole configuration (file, report, meter, check) and the numbered list of the pages below it.

#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"

class ConnectionToolbar;
class DriverProgressTexts;
class PageTree;
class QLabel;
class QPushButton;
class QToolButton;
class SubPageList;

class CDlgMainConfig : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 0;

    explicit CDlgMainConfig(PageHost& host, QWidget* parent = nullptr);
    ~CDlgMainConfig() override;

    // The tree whose pages below this one the numbered list shows.
    void SetPageTree(const PageTree* tree);
    // Lists the pages below this one again (their labels may have changed).
    void RefreshSubPages();

    // What the driver reports.
    void SetConnectionText(const QString& text);
    void SetOperationText(const QString& text);
    void SetDetailText(const QString& text);
    void SetDeviceInformation(const QString& text);
    // Re-reads the driver's busy flag and enables the buttons that fit.
    void UpdateBusy();

    // The buttons' work.
    void ReadFromMeter();
    void WriteToMeter();
    // True when the configuration passes the checks (the checks have told the user otherwise).
    bool CheckConfiguration();
    // After a short settings file: asks before what it lacked goes to the meter. True when there is nothing to ask.
    bool ConfirmMissingSettings();
    void ShowReport();

    QString ConnectionText() const;
    QString OperationText() const;
    QString DetailText() const;
    QString DeviceInformation() const;
    QToolButton* ConnectButton() const;
    QToolButton* BreakButton() const;
    QToolButton* StopButton() const;
    SubPageList* SubPages() const { return m_subPages; }

    void OnPageShown() override;
    void RefreshCommandStates() override;
    void CommandFinished(int code) override;

signals:
    // "Открыть настройки из файла" / "Сохранить настройки в файл": the window runs the same flow as its
    // "Файл" menu.
    void openFileRequested();
    void saveFileRequested();
    // The configuration on screen is now the meter's.
    void configurationWritten();

private:
    QWidget* BuildButtons();

    ConnectionToolbar* m_toolbar;
    DriverProgressTexts* m_texts;
    QLabel* m_device;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_check = nullptr;
    SubPageList* m_subPages;
    const PageTree* m_tree = nullptr;
};
