// The whole road a new user takes: the demo meter, "Установить связь", the meter's answers on screen;
// and a window closed while a command still runs.

#include "gui_rigs/config_window_helpers.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/main_window_rig.h"

#include "base/message_style.h"
#include "channel/channel_types.h"
#include "gui/app/gui_driver_host.h"
#include "gui/app/status_strip.h"
#include "gui/config/configuration_frame_page.h"
#include "gui/monitor/exchange_monitor_window.h"
#include "gui/nodes/communications_dialog.h"
#include "sim/demo_meter.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QApplication>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <thread>

namespace {}  // namespace

TEST(DemoMeter, ConnectShowsTheMeterAndFlashesTheLamps)
{
    MainWindowRig rig;
    DemoMeter demo;
    QString error;
    ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
    auto window = rig.OpenWindow();
    window->UseDemoMeter(demo.Address());
    EXPECT_EQ(window->StatusText(), QStringLiteral("Узел учета - Демо-прибор; серийный N - 170001; сет. адрес - 1"));
    ASSERT_EQ(window->Nodes().Count(), 1);

    // Once more on another port: the node is brought up to date, not added again.
    DemoMeterAddress moved = demo.Address();
    moved.port += 1;
    window->UseDemoMeter(moved);
    window->UseDemoMeter(demo.Address());
    ASSERT_EQ(window->Nodes().Count(), 1);
    EXPECT_EQ(window->Nodes().At(0).record.IpPort(), demo.Address().port);

    // As a node saved without its serial: the status line names the meter's own once it has answered.
    NodeBase unnumbered = window->Nodes();
    NodeEntry entry = unnumbered.At(0);
    entry.record.SetSerialNumber(0);
    ASSERT_TRUE(unnumbered.Replace(0, entry));
    ASSERT_TRUE(rig.WriteBase(unnumbered));

    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    CDlgMainConfig* frame = window->MainConfig();
    QTest::mouseClick(frame->ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(frame->OperationText(), QStringLiteral("Операция успешно завершена!"), kArrivesMs);
    EXPECT_EQ(chooser.Handled(), 1);
    EXPECT_EQ(window->StatusText(), QStringLiteral("Узел учета - Демо-прибор; серийный N - 170001; сет. адрес - 1"));
    EXPECT_EQ(window->Nodes().At(0).record.SerialNumber(), 0) << "the stored node changes only when saved";
    NodeBase stored;
    UserMessage failure;
    ASSERT_TRUE(rig.environment->LoadNodeBase(stored, &failure));
    EXPECT_EQ(stored.At(0).record.SerialNumber(), 0);
    EXPECT_EQ(frame->ConnectionText(), QStringLiteral("Связь установлена"));
    EXPECT_TRUE(frame->DeviceInformation().startsWith(QStringLiteral("Информация о приборе: ")))
        << frame->DeviceInformation().toStdString();
    EXPECT_GT(frame->DeviceInformation().size(), QStringLiteral("Информация о приборе: ").size());
    EXPECT_TRUE(window->Driver().IsDeviceConnected());
    // Every block went to the exchange monitor, even while it is hidden.
    const QString log = window->Monitor()->Text();
    EXPECT_TRUE(log.contains(QStringLiteral("TCP 127.0.0.1:%1 Out").arg(demo.Address().port, 5, 10, QChar(u'0'))))
        << log.left(400).toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Попытка соединения с вычислителем...")));
    EXPECT_GT(window->Status()->FlashCount(DriverHost::kTransmitLamp), 0);
    EXPECT_GT(window->Status()->FlashCount(DriverHost::kReceiveLamp), 0);
    // Each lamp goes dark again 50 ms after its last block.
    QTRY_VERIFY_WITH_TIMEOUT(!window->Status()->IsLit(DriverHost::kTransmitLamp), kArrivesMs);
    QTRY_VERIFY_WITH_TIMEOUT(!window->Status()->IsLit(DriverHost::kReceiveLamp), kArrivesMs);
    // The busy flag drops after the result text arrives; wait for it rather than race it.
    QTRY_VERIFY_WITH_TIMEOUT(frame->ConnectButton()->isEnabled(), kArrivesMs);
    EXPECT_TRUE(rig.presenter.messages.isEmpty());

    // "Разорвать связь" closes the connection and clears the device information.
    QTest::mouseClick(frame->BreakButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window->Driver().IsDeviceConnected(), kArrivesMs);
    QTRY_VERIFY_WITH_TIMEOUT(frame->DeviceInformation().isEmpty(), kArrivesMs);

    const QString screenshot = qEnvironmentVariable("ZT5_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        // Connected again for the picture.
        QTest::mouseClick(frame->ConnectButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(frame->ConnectionText(), QStringLiteral("Связь установлена"), kArrivesMs);
        QTRY_COMPARE_WITH_TIMEOUT(frame->OperationText(), QStringLiteral("Операция успешно завершена!"), kArrivesMs);
        QTRY_VERIFY_WITH_TIMEOUT(frame->ConnectButton()->isEnabled(), kArrivesMs);
        // The tree open on the meter's configuration, as a user would look at it next.
        window->Pages()->Tree()->expandAll();
        QApplication::processEvents();
        EXPECT_TRUE(window->grab().save(screenshot));
    }
}

// A --demo run on a fresh folder: the demo meter running, the window open, no settings stored yet.
class DemoRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(demo.Start(&error)) << error.toStdString();
        window = rig.OpenWindow();
    }

    MainWindowRig rig;
    DemoMeter demo;
    std::unique_ptr<MainDialog> window;
};

TEST_F(DemoRun, ReadmeStepsConnectOnAFirstStart)
{
    // No settings yet, so the stored page would be the USB one; another node comes first in the base.
    NodeBase others;
    others.Append(TcpNode(QStringLiteral("Котельная"), 1, 1, 1));
    ASSERT_TRUE(rig.WriteBase(others));
    window->UseDemoMeter(demo.Address());

    // «Установить связь», then OK in the node list as it opens: nothing else is touched.
    int openedOn = -1;
    QString selected;
    ModalHandler chooser([&](QDialog& dialog) {
        auto* list = qobject_cast<CDlgCommunications*>(&dialog);
        ASSERT_NE(list, nullptr);
        openedOn = list->CurrentPage();
        if (auto* rows = dialog.findChild<QTableWidget*>(QStringLiteral("nodeList%1").arg(kChannelIp))) {
            const QList<QTableWidgetItem*> chosen = rows->selectedItems();
            if (!chosen.isEmpty())
                selected = rows->item(chosen.first()->row(), 1)->text();  // "Название"
        }
        ClickStandardButton(dialog, QDialogButtonBox::Ok);
    });
    CDlgMainConfig* frame = window->MainConfig();
    QTest::mouseClick(frame->ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(frame->ConnectionText(), QStringLiteral("Связь установлена"), kArrivesMs);
    EXPECT_EQ(chooser.Handled(), 1);
    EXPECT_EQ(openedOn, kChannelIp);
    EXPECT_EQ(selected, QStringLiteral("Демо-прибор"));
    // The configuration read on connecting is the demo meter's: two inputs of БД1 in use.
    QTRY_COMPARE_WITH_TIMEOUT(TreeLabel(*window, ConfigPageIds::InputNode(0, 0)), QStringLiteral("ТВ1 (СИ=1)"),
                              kArrivesMs);
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::InputNode(0, 1)), QStringLiteral("ТВ2 (СИ=5)"));
    EXPECT_EQ(TreeLabel(*window, ConfigPageIds::SetNode(1)), QStringLiteral("БД2 (не исп.)"));
    EXPECT_EQ(window->StatusText(), QStringLiteral("Узел учета - Демо-прибор; серийный N - 170001; сет. адрес - 1"));
    QTRY_VERIFY_WITH_TIMEOUT(frame->ConnectButton()->isEnabled(), kArrivesMs);
    EXPECT_TRUE(rig.presenter.messages.isEmpty());
    // The page the demo opened on is not the user's choice: ordinary runs still open where they did.
    const SettingsStore onDisk(rig.SettingsFile());
    EXPECT_FALSE(onDisk.Contains(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType")));
}

TEST_F(DemoRun, ATabTheUserPicksIsRemembered)
{
    window->UseDemoMeter(demo.Address());

    // The user goes to "Модем" and back to "Ethernet/Internet", then cancels.
    ModalHandler chooser([](QDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(kChannelModem);
        tabs->setCurrentIndex(kChannelIp);
        dialog.reject();
    });
    QTest::mouseClick(window->MainConfig()->ConnectButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(chooser.Handled(), 1, kArrivesMs);
    const SettingsStore onDisk(rig.SettingsFile());
    EXPECT_EQ(onDisk.GetInt(QStringLiteral("Settings\\Screen\\Base"), QStringLiteral("ConnectType"), -1), kChannelIp);
}

TEST(DemoMeter, ClosingTheWindowStopsARunningCommandAndEndsTheThreads)
{
    // A meter that never answers: connecting would take attempts x time-out.
    SilentMeter server;
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();

    MainWindowRig rig;
    ASSERT_TRUE(server.WriteNodeBase(rig));

    const int threadsBefore = RunningQThreads();
    auto window = rig.OpenWindow();
    EXPECT_EQ(RunningQThreads(), threadsBefore + 2);  // the command and the service thread
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    QTest::mouseClick(window->MainConfig()->ConnectButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window->Driver().IsBusy(), kArrivesMs);
    QTRY_VERIFY_WITH_TIMEOUT(!window->MainConfig()->ConnectButton()->isEnabled(), kArrivesMs);
    EXPECT_TRUE(window->MainConfig()->StopButton()->isEnabled());

    // The 200 s the connect could take are not waited for.
    ExpectClosesWhileBusy(window, threadsBefore);
    server.Stop();
}

TEST(GuiDriverHost, WorkerCallsWaitForTheGuiThreadAndCallsOnItRunAtOnce)
{
    ScriptedPresenter presenter;
    presenter.answer = MessageAnswer::kYes;
    GuiDriverHost host(presenter);
    QStringList operations;
    QObject::connect(&host, &GuiDriverHost::operationText, [&](const QString& text) { operations << text; });

    // On the GUI thread: handled before the call returns, no event loop needed.
    EXPECT_EQ(host.ShowMessageBox(QStringLiteral("здесь"), QStringLiteral("Подтверждение"), MessageStyle::kYesNo),
              MessageAnswer::kYes);
    host.SetOperationText(QStringLiteral("первая"));
    EXPECT_EQ(operations, QStringList{QStringLiteral("первая")});

    // From a worker: the answer comes back only after the GUI thread has handled the call.
    std::atomic<int> answer{0};
    std::atomic<bool> done{false};
    QStringList seenByWorker;
    std::thread worker([&] {
        host.SetOperationText(QStringLiteral("вторая"));
        seenByWorker = operations;  // already there: the worker waited for it
        answer = host.ShowMessageBox(QStringLiteral("оттуда"), QStringLiteral("Информация"), MessageStyle::kOk);
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), kArrivesMs);
    worker.join();
    EXPECT_EQ(seenByWorker, QStringList({QStringLiteral("первая"), QStringLiteral("вторая")}));
    EXPECT_EQ(answer.load(), MessageAnswer::kYes);
    ASSERT_EQ(presenter.messages.size(), 2);
    EXPECT_TRUE(presenter.messages[1].onGuiThread);
    EXPECT_EQ(presenter.messages[1].text, QStringLiteral("оттуда"));
}
