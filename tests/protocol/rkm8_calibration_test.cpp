// Commands 17 and 18 through the driver's command thread: the simulated meter over TCP, the simulated
// stand on a pseudo-terminal. What the meter was told and what the stand was set to are compared.

#include "channel/port_table.h"
#include "protocol/rkm8.h"
#include "protocol/rkm8_calibration.h"
#include "sim/reference_stand.h"
#include "sim/reference_stand_line.h"
#include "support/driver_rig.h"

#include "support/wait_for.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <functional>
#include <thread>

namespace {

constexpr int kStandPort = 28;
using Codes = std::vector<std::uint16_t>;

struct CalibrationRig {
    CalibrationRig(std::uint16_t hardwareVersion, std::uint16_t firmwareLevel, std::chrono::milliseconds settle)
        : rig(RigFor(firmwareLevel)), calibration(stand)
    {
        SimIdentity identity;
        identity.hardwareVersion = hardwareVersion;
        identity.firmwareLevel = firmwareLevel;
        rig.meter.SetIdentity(identity);
        QString error;
        started = standLine.Start(QStringLiteral("pty"), &error) && rig.Start();
        PortTable::Global().Assign(kStandPort, standLine.Path());
        stand.AttachHost(&rig.host);
        stand.PrepareChannel(kStandPort, false);
        calibration.SetTiming(CalibrationTiming{settle, std::chrono::milliseconds(500)});
        rig.driver.SetCommandExtensions(&calibration);
        started = started && rig.Run(kCommandConnect);
    }
    ~CalibrationRig()
    {
        rig.driver.StopThreads();
        PortTable::Global().Assign(kStandPort, QString());
    }

    static RigOptions RigFor(std::uint16_t firmwareLevel)
    {
        RigOptions options;
        options.firmwareLevel = firmwareLevel;
        options.timeoutSec = 3;
        return options;
    }

    Codes MeterCodes()
    {
        std::lock_guard<std::mutex> lock(rig.meter.Lock());
        return rig.meter.State().calibrationCommands;
    }

    ReferenceStand referenceStand;
    ReferenceStandLine standLine{referenceStand};
    DriverRig rig;
    CRkm8 stand;
    Rkm8Calibration calibration;
    bool started = false;
};

}  // namespace

TEST(Rkm8Calibration, HardwareVersionAbove512AddsTheExtendedSteps)
{
    const QStringList resistances{"R=51.000", "R=51.000", "R=141.200", "R=673.300"};  // the probe first
    {
        CalibrationRig plain(512, 515, std::chrono::milliseconds(50));
        ASSERT_TRUE(plain.started);
        ASSERT_TRUE(plain.rig.Run(kCommandCalibrateTemperature, nullptr, 30000));
        EXPECT_EQ(plain.MeterCodes(), (Codes{65437, 65438, 65439, 65440}));
        EXPECT_EQ(plain.referenceStand.Measures(), resistances);
        EXPECT_EQ(plain.rig.LastOperationText(), QStringLiteral("Операция успешно завершена!"));
        EXPECT_TRUE(plain.rig.BoxTexts().isEmpty()) << plain.rig.BoxTexts().join('\n').toStdString();
        // The stand's line is closed at the end: another program may open it now.
        EXPECT_FALSE(plain.stand.TransmitChanel().SerialPort().IsOpen());
    }
    {
        CalibrationRig extended(513, 515, std::chrono::milliseconds(50));
        ASSERT_TRUE(extended.started);
        ASSERT_TRUE(extended.rig.Run(kCommandCalibrateTemperature, nullptr, 30000));
        EXPECT_EQ(extended.MeterCodes(), (Codes{65444, 65437, 65438, 65445, 65439, 65440}));
        EXPECT_EQ(extended.referenceStand.Measures(), resistances);
    }
}

TEST(Rkm8Calibration, FirmwareLevelAbove518AddsThe4mAPoint)
{
    const QStringList at20{"I0=20.000", "I1=20.000", "I2=20.000", "I3=20.000"};
    const QStringList at4{"I0=4.000", "I1=4.000", "I2=4.000", "I3=4.000"};
    {
        CalibrationRig older(0x0103, 518, std::chrono::milliseconds(50));
        ASSERT_TRUE(older.started);
        ASSERT_TRUE(older.rig.Run(kCommandCalibrateCurrent, nullptr, 30000));
        EXPECT_EQ(older.MeterCodes(), (Codes{65441, 65442}));
        EXPECT_EQ(older.referenceStand.Measures(), QStringList{"R=51.000"} + at20);
    }
    {
        CalibrationRig newer(0x0103, 519, std::chrono::milliseconds(50));
        ASSERT_TRUE(newer.started);
        ASSERT_TRUE(newer.rig.Run(kCommandCalibrateCurrent, nullptr, 30000));
        EXPECT_EQ(newer.MeterCodes(), (Codes{65443, 65441, 65442}));
        EXPECT_EQ(newer.referenceStand.Measures(), QStringList{"R=51.000"} + at4 + at20);
    }
}

TEST(Rkm8Calibration, StopEndsASettlingWaitPromptlyWithoutTheSave)
{
    CalibrationRig rig(513, 515, std::chrono::milliseconds(7000));
    ASSERT_TRUE(rig.started);
    ASSERT_TRUE(rig.rig.driver.QueueCommand(kCommandCalibrateTemperature, nullptr));
    // The first measure is set: the 7 s wait has begun.
    ASSERT_TRUE(WaitFor([&] { return rig.referenceStand.Measures().size() == 2; }, 10000));
    QElapsedTimer sinceStop;
    sinceStop.start();
    rig.rig.driver.QueueServiceRequest(kServiceStop);
    ASSERT_TRUE(rig.rig.driver.WaitUntilIdle(10000));
    EXPECT_LT(sinceStop.elapsed(), 3000);
    EXPECT_EQ(rig.MeterCodes(), (Codes{65444}));
    EXPECT_EQ(rig.rig.LastOperationText(), QStringLiteral("Операция завершена по желанию пользователя!"));
    EXPECT_FALSE(rig.stand.TransmitChanel().SerialPort().IsOpen());
}

TEST(Rkm8Calibration, WithTheMeterOnTheSharedMemoryLinkNoStandIsNeeded)
{
    CalibrationRig rig(512, 519, std::chrono::milliseconds(50));
    ASSERT_TRUE(rig.started);
    rig.stand.PrepareChannel(PortTable::kLastNumber, true);
    ASSERT_TRUE(rig.rig.Run(kCommandCalibrateCurrent, nullptr, 30000));
    EXPECT_EQ(rig.MeterCodes(), (Codes{65443, 65441, 65442}));
    EXPECT_TRUE(rig.referenceStand.Measures().isEmpty());
    EXPECT_EQ(rig.rig.host.LogLines().filter(QStringLiteral("РКМ8(0002) COM32 In ")).size(), 9);
}

TEST(Rkm8Calibration, AFailedStandEndsTheCommandAndTheMeterKeepsNoSave)
{
    CalibrationRig rig(512, 515, std::chrono::milliseconds(50));
    ASSERT_TRUE(rig.started);
    rig.standLine.Stop();  // the stand's line is gone: its port cannot be opened
    ASSERT_TRUE(rig.rig.Run(kCommandCalibrateTemperature, nullptr, 30000));
    EXPECT_TRUE(rig.MeterCodes().empty());
    EXPECT_EQ(rig.rig.LastOperationText(), QStringLiteral("Операция завершена НЕ успешно!"));
    EXPECT_FALSE(rig.rig.BoxTexts().isEmpty());
}
