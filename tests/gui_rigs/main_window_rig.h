#pragma once
// What the main window tests share: a message presenter that records and answers from a script, a
// handler that deals with the next modal dialog, and a rig with a temporary program folder, its
// environment and the window on it.

#include "app/app_environment.h"
#include "gui/app/main_dialog.h"
#include "gui/widgets/message_presenter.h"
#include "nodes/node_base.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QDialog>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

struct PresentedMessage {
    QString text;
    QString caption;
    unsigned style = 0;
    bool onGuiThread = false;
};

class ScriptedPresenter : public MessagePresenter {
public:
    int answer = 1;  // MessageAnswer::kOk
    QList<PresentedMessage> messages;

    int Present(QWidget* parent, const QString& text, const QString& caption, unsigned style) override;
};

// Each time a modal dialog comes up, `act` gets it (and is expected to close it).
class ModalHandler : public QObject {
public:
    explicit ModalHandler(std::function<void(QDialog&)> act);
    int Handled() const { return m_handled; }

private:
    std::function<void(QDialog&)> m_act;
    QTimer m_timer;
    int m_handled = 0;
};

// Selects row `row` of the IP page of the device list and presses OK.
void ChooseNodeRow(QDialog& dialog, int row);

class MainWindowRig {
public:
    MainWindowRig();

    QString Folder() const { return m_folder.path(); }
    QString SettingsFile() const;
    // A new window on the folder, with its first page, shown.
    std::unique_ptr<MainDialog> OpenWindow();
    // Writes `base` into the folder's "Base/Objects.bin".
    bool WriteBase(const NodeBase& base);

    ScriptedPresenter presenter;
    std::unique_ptr<AppEnvironment> environment;

private:
    QTemporaryDir m_folder;
};

// A node reached over TCP at 127.0.0.1:`port`.
NodeEntry TcpNode(const QString& name, int port, int address, int serial);

// The driver threads (QThread::create names them "QThread") alive in this process.
int RunningQThreads();

// Closes a window whose driver is in the middle of a command: the close stops the command rather than
// waiting for it, and takes the driver's threads with it (back to `threadsBefore`). The window is gone after.
void ExpectClosesWhileBusy(std::unique_ptr<MainDialog>& window, int threadsBefore);

// A meter that never answers, on a loopback TCP port: connecting to it takes attempts x time-out
// (20 x 10 s) unless the command is stopped.
class SilentMeter {
public:
    SilentMeter();
    bool Start(QString* error) { return m_server.Start(error); }
    void Stop() { m_server.Stop(); }
    // Writes the rig's base: one node, "Молчун", that reaches this meter.
    bool WriteNodeBase(MainWindowRig& rig) const;

private:
    static SimOptions Options();

    MeterSimulator m_meter;
    SimServer m_server;
};
