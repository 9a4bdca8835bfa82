#pragma once
// Commands 17 and 18 of the driver: automatic calibration of the meter's temperature inputs and
// current inputs against the reference stand. Each step sets a measure on the stand, lets it settle
// and tells the meter through a service command which calibration point is applied; the last command
// stores the points. The stand's line is closed at the end in every case.
//
// Temperature (hardware version above 512 works in extended mode):
//   [65444]  51.0 Ohm [7 s] 65437 | 141.2 Ohm [7 s] 65438 [7 s 65445] | 673.3 Ohm [7 s] 65439 | 65440 (save)
// Current:
//   [4.0 mA 65443, from firmware level 519]  20.0 mA 65441 | 65442 (save)
// Each service command comes 500 ms after the measure was set. A stop request ends the waits at once and
// the calibration with them, without the save.

#include "protocol/forwarding_extensions.h"

#include <chrono>
#include <cstdint>

class CRkm8;

struct CalibrationTiming {
    std::chrono::milliseconds settle{7000};  // extended temperature mode, after a measure and after 65438
    std::chrono::milliseconds beforePoint{500};
};

class Rkm8Calibration : public ForwardingExtensions {
public:
    // Service codes of the calibration points.
    static constexpr std::uint16_t kFirstTemperaturePoint = 65437;  // + step, 65440 saves
    static constexpr std::uint16_t kCurrent20mA = 65441;
    static constexpr std::uint16_t kCurrentSave = 65442;
    static constexpr std::uint16_t kCurrent4mA = 65443;
    static constexpr std::uint16_t kExtendedMode = 65444;
    static constexpr std::uint16_t kExtendedSecondPass = 65445;
    static constexpr std::uint16_t kExtendedFromHardware = 512;  // extended above this version
    static constexpr std::uint16_t kCurrent4mAFromLevel = 518;   // the 4 mA point above this level

    // `others` serves the whole-archive export and the idle modem check when given.
    explicit Rkm8Calibration(CRkm8& stand, CommandExtensions* others = nullptr);

    void SetTiming(const CalibrationTiming& timing) { m_timing = timing; }

    bool CalibrateTemperature(CRovoRedod& driver) override;
    bool CalibrateCurrent(CRovoRedod& driver) override;

private:
    bool TemperatureSteps(CRovoRedod& driver);
    bool CurrentSteps(CRovoRedod& driver);
    // Connects the stand, runs `steps` and closes the stand's line.
    template <class Steps>
    bool WithStand(CRovoRedod& driver, Steps steps);
    // False when the driver's stop request ended the wait.
    bool Wait(CRovoRedod& driver, std::chrono::milliseconds duration);
    static bool SendPoint(CRovoRedod& driver, std::uint16_t code);

    CRkm8& m_stand;
    CalibrationTiming m_timing;
    bool m_stoppedInWait = false;
};
