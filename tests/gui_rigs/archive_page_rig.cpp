#include "gui_rigs/archive_page_rig.h"

#include "config/tunes_record.h"
#include "gui/widgets/connection_toolbar.h"
#include "sim/configuration_area.h"
#include "sim/meter_archives.h"

#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <mutex>

namespace {

SimOptions MeterOptions(TChronoArch end, int days, int baudDelay)
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Tcp;
    options.host = QStringLiteral("127.0.0.1");
    options.archives.days = days;
    options.archives.fixedEnd = true;
    options.archives.end = end;
    options.baudDelay = baudDelay;
    return options;
}

}  // namespace

ArchivePageRig::ArchivePageRig(TChronoArch end, int days, int baudDelay)
    : meter(MeterOptions(end, days, baudDelay)), server(meter)
{
    QString error;
    EXPECT_TRUE(server.Start(&error)) << error.toStdString();
    NodeBase base;
    base.Append(TcpNode(QStringLiteral("Архивный"), server.BoundPort(), meter.Options().address,
                        int(meter.Options().identity.serialNumber)));
    EXPECT_TRUE(windowRig.WriteBase(base));
    window = windowRig.OpenWindow();
    window->AddReadDataPage();
}

ArchivePageRig::~ArchivePageRig()
{
    window.reset();
    server.Stop();
}

void ArchivePageRig::SetMeterReportTime(int hour, int day)
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    meter.Configuration().EditTunes(meter.Image(), [&](TunesRecord& record) {
        record.reportHour = std::uint8_t(hour);
        record.reportDay = std::uint8_t(day);
    });
}

void ArchivePageRig::EraseMeterArchives()
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    meter.Archives().Erase(meter.Clock().Now());
}

bool ArchivePageRig::Connect()
{
    ShowFrame();
    ModalHandler chooser([](QDialog& dialog) { ChooseNodeRow(dialog, 0); });
    QTest::mouseClick(Frame()->Toolbar()->ConnectButton(), Qt::LeftButton);
    const bool connected = QTest::qWaitFor([&] { return Driver().IsDeviceConnected(); }, kArrivesMs) && WaitUntilIdle();
    ShowArchivePage();
    return connected;
}

bool ArchivePageRig::WaitUntilIdle()
{
    // The driver is idle once its last requester has been told; the window then sees the flags settle.
    return QTest::qWaitFor([&] { return Driver().WaitUntilIdle(0) && !Driver().IsBusy(); }, kArrivesMs);
}

bool ArchivePageRig::ClickAndWait(QAbstractButton* button)
{
    if (!button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return WaitUntilIdle();
}

QString ArchivePageRig::ReportText() const
{
    QString text = Page()->Controls().report->toPlainText();
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}
