#pragma once
// How the maker's and the service centre's data read on screen and on the terminal, and the lists the
// maker's service page offers.

#include "meter/service_blocks.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// "Тип AA", "Тип C", "Тип D".
QStringList BatteryTypeNames();
// "Россия", "Казахстан", "Украина".
QStringList VariantNames();

// "Дата выпуска: 05.03.2024 14".
QString MakerReleaseDateText(const TChronoArch& date);
// The four resource lines, each ended by CR LF: "Заданный рес.батареи: %d ч. %d мин." and the others.
QString ServiceCentreResourceText(const ServiceCentreData& data);

// A manual calibration choice: the list text and the service code it sends.
struct CalibrationChoice {
    const char* text;
    std::uint16_t code;
};
// "Калибровка t:" (0xFF9D..0xFFA0) and "Калибровка P:" (0xFFA1, 0xFFA2).
const CalibrationChoice* TemperatureCalibrationChoices(int* count);
const CalibrationChoice* CurrentCalibrationChoices(int* count);

inline constexpr std::uint16_t kServiceLockCalibration = 0xFF9B;  // "Запрет калибровок"
inline constexpr std::uint16_t kServiceEraseArchive = 0xFF9C;     // "Полное стирание архива"
