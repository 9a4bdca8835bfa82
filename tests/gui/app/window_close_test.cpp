// Closing the main window while the driver is in the middle of a long exchange with a meter that does
// answer (slowly, as over a 2400-baud line): the command is stopped, both driver threads end, and
// nothing of the driver, its host or the channel outlives the window (the sanitizer build checks that
// no memory is touched after it is freed and that nothing leaks).

#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/main_window_rig.h"

#include "gui/config/configuration_frame_page.h"
#include "gui/monitor/exchange_monitor_window.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {}  // namespace

TEST(WindowClose, MidReadStopsTheCommandAndEndsTheThreads)
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    options.baudDelay = 2400;  // the configuration alone then takes well over ten seconds to read
    MeterSimulator meter(options);
    SimServer server(meter);
    QString error;
    ASSERT_TRUE(server.Start(&error)) << error.toStdString();

    MainWindowRig rig;
    NodeBase base;
    base.Append(TcpNode(QStringLiteral("Медленный"), server.BoundPort(), 1, 170001));
    ASSERT_TRUE(rig.WriteBase(base));

    const int threadsBefore = RunningQThreads();
    auto window = rig.OpenWindow();
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    QTest::mouseClick(window->MainConfig()->ConnectButton(), Qt::LeftButton);
    // The meter is answering: a few requests have had their answers.
    QTRY_VERIFY_WITH_TIMEOUT(server.Requests() >= 3, kArrivesMs);
    const QString monitor = window->Monitor()->Text();
    EXPECT_TRUE(monitor.contains(QStringLiteral(" In"))) << monitor.left(400).toStdString();
    ExpectClosesWhileBusy(window, threadsBefore);
    server.Stop();
    // No message about the interrupted read was left waiting for an answer.
    for (const PresentedMessage& message : rig.presenter.messages)
        EXPECT_TRUE(message.onGuiThread) << message.text.toStdString();
}
