#include "protocol/rkm8_calibration.h"

#include "meter/service_blocks.h"
#include "protocol/rkm8.h"
#include "protocol/rovo_redod.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace {

constexpr qint64 kWaitSliceMs = 100;
constexpr double kTemperatureMeasures[] = {51.0, 141.2, 673.3};
constexpr int kTemperatureSteps = 4;  // three measures and the save
constexpr double kCurrent4 = 4.0;
constexpr double kCurrent20 = 20.0;

}  // namespace

Rkm8Calibration::Rkm8Calibration(CRkm8& stand, CommandExtensions* others) : ForwardingExtensions(others), m_stand(stand)
{}

bool Rkm8Calibration::CalibrateTemperature(CRovoRedod& driver)
{
    return WithStand(driver, [this, &driver] { return TemperatureSteps(driver); });
}

bool Rkm8Calibration::CalibrateCurrent(CRovoRedod& driver)
{
    return WithStand(driver, [this, &driver] { return CurrentSteps(driver); });
}

template <class Steps>
bool Rkm8Calibration::WithStand(CRovoRedod& driver, Steps steps)
{
    m_stand.SetStopSource(&driver);
    m_stoppedInWait = false;
    bool succeeded = m_stand.Connect() && steps();
    // A calibration the user stopped while it waited ends as he asked, not as a failure; a stop during
    // an exchange is a failed exchange.
    if (m_stoppedInWait)
        succeeded = true;
    m_stand.TransmitChanel().Disconnect();
    return succeeded;
}

bool Rkm8Calibration::TemperatureSteps(CRovoRedod& driver)
{
    const bool extended = driver.Configuration().identity.hardwareVersion > kExtendedFromHardware;
    if (extended && !SendPoint(driver, kExtendedMode))
        return false;
    for (int step = 0; step < kTemperatureSteps; ++step) {
        if (step < kTemperatureSteps - 1) {
            if (!m_stand.SetResistance(kTemperatureMeasures[step]))
                return false;
            if (extended && !Wait(driver, m_timing.settle))
                return false;
        }
        const auto point = static_cast<std::uint16_t>(kFirstTemperaturePoint + step);
        if (!Wait(driver, m_timing.beforePoint) || !SendPoint(driver, point))
            return false;
        if (extended && point == kFirstTemperaturePoint + 1
            && (!Wait(driver, m_timing.settle) || !SendPoint(driver, kExtendedSecondPass)))
            return false;
    }
    return true;
}

bool Rkm8Calibration::CurrentSteps(CRovoRedod& driver)
{
    if (driver.FirmwareLevel() > kCurrent4mAFromLevel
        && (!m_stand.SetCurrent(kCurrent4) || !Wait(driver, m_timing.beforePoint) || !SendPoint(driver, kCurrent4mA)))
        return false;
    return m_stand.SetCurrent(kCurrent20) && Wait(driver, m_timing.beforePoint) && SendPoint(driver, kCurrent20mA)
        && SendPoint(driver, kCurrentSave);
}

bool Rkm8Calibration::Wait(CRovoRedod& driver, std::chrono::milliseconds duration)
{
    QElapsedTimer clock;
    clock.start();
    for (qint64 left = duration.count(); left > 0 && !driver.StopRequested(); left = duration.count() - clock.elapsed())
        QThread::msleep(static_cast<unsigned long>(std::min(kWaitSliceMs, left)));
    m_stoppedInWait = driver.StopRequested();
    return !m_stoppedInWait;
}

bool Rkm8Calibration::SendPoint(CRovoRedod& driver, std::uint16_t code)
{
    const ServiceCommand command = PlainServiceCommand(code);
    return driver.Operations().WriteServiceCmd(command.codeWord, command.value);
}
