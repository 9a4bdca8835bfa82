#include "gui_rigs/main_window_rig.h"

#include "channel/channel_types.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/nodes/communications_dialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QThread>

#include <gtest/gtest.h>

int ScriptedPresenter::Present(QWidget*, const QString& text, const QString& caption, unsigned style)
{
    messages.append({text, caption, style, QThread::currentThread() == qApp->thread()});
    return answer;
}

ModalHandler::ModalHandler(std::function<void(QDialog&)> act) : m_act(std::move(act))
{
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++m_handled;
            m_act(*dialog);
        }
    });
    m_timer.start(20);
}

void ChooseNodeRow(QDialog& dialog, int row)
{
    if (auto* chooser = qobject_cast<CDlgCommunications*>(&dialog)) {
        chooser->SelectPage(kChannelIp);
        if (auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("nodeList%1").arg(kChannelIp)))
            list->selectRow(row);
    }
    dialog.accept();
}

MainWindowRig::MainWindowRig()
{
    environment = std::make_unique<AppEnvironment>(SettingsFile(), WorkFolder(m_folder.path()));
}

QString MainWindowRig::SettingsFile() const
{
    return QDir(m_folder.path()).filePath(QStringLiteral("settings.ini"));
}

std::unique_ptr<MainDialog> MainWindowRig::OpenWindow()
{
    auto window = std::make_unique<MainDialog>(*environment, presenter);
    window->AddMainConfigPage();
    window->show();
    return window;
}

bool MainWindowRig::WriteBase(const NodeBase& base)
{
    QDir(m_folder.path()).mkpath(QStringLiteral("Base"));
    return base.Save(m_folder.path(), nullptr);
}

NodeEntry TcpNode(const QString& name, int port, int address, int serial)
{
    NodeEntry entry;
    entry.record = NodeRecord::New(kChannelIp, FreePortTable::AllFree());
    entry.record.SetName(name);
    entry.record.SetIpAddress(QStringLiteral("127.0.0.1"));
    entry.record.SetIpPort(port);
    entry.record.SetNetworkAddress(address);
    entry.record.SetSerialNumber(serial);
    entry.record.SetRepeatCount(1);
    entry.record.SetRepeatTimeoutSec(1);
    return entry;
}

int RunningQThreads()
{
    int count = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "QThread")
            ++count;
    }
    return count;
}

SimOptions SilentMeter::Options()
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    options.faults.SetRule(FaultKind::Drop, FaultRule{1.0, 0});
    return options;
}

SilentMeter::SilentMeter() : m_meter(Options()), m_server(m_meter) {}

bool SilentMeter::WriteNodeBase(MainWindowRig& rig) const
{
    NodeBase base;
    NodeEntry node = TcpNode(QStringLiteral("Молчун"), m_server.BoundPort(), 1, 5);
    node.record.SetRepeatCount(20);
    node.record.SetRepeatTimeoutSec(10);
    base.Append(node);
    return rig.WriteBase(base);
}

void ExpectClosesWhileBusy(std::unique_ptr<MainDialog>& window, int threadsBefore)
{
    ASSERT_TRUE(window->Driver().IsBusy());
    QElapsedTimer closing;
    closing.start();
    window->close();
    // Far less than the command could take: it was stopped, not waited for.
    EXPECT_LT(closing.elapsed(), 10000);
    EXPECT_FALSE(window->Driver().IsBusy());
    EXPECT_EQ(RunningQThreads(), threadsBefore);
    window.reset();
}
