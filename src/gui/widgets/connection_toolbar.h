#pragma once
// The toolbar of the frame pages: "Установить связь" (choose a node, then connect), "Разорвать связь"
// and "Остановить процесс". Each frame says when its buttons are enabled; Update re-reads the driver's
// flags.

#include "protocol/driver_commands.h"

#include <QWidget>

class PageHost;
class QToolButton;

class ConnectionToolbar : public QWidget {
    Q_OBJECT

public:
    enum class EnableRule {
        // Connect whenever no command runs (choosing another node reconnects); break at any time.
        kWhileIdle,
        // Connect only while neither connected nor busy; break only while connected.
        kWhileDisconnected,
    };

    // `requester` hears when the connect command has finished.
    ConnectionToolbar(PageHost& host, CommandRequester* requester, EnableRule rule, QWidget* parent = nullptr);

    void Update();

    QToolButton* ConnectButton() const { return m_connect; }
    QToolButton* BreakButton() const { return m_break; }
    QToolButton* StopButton() const { return m_stop; }

private:
    void Connect();

    PageHost& m_host;
    CommandRequester* m_requester;
    EnableRule m_rule;
    QToolButton* m_connect;
    QToolButton* m_break;
    QToolButton* m_stop;
};
