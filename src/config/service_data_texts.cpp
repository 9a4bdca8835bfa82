#include "config/service_data_texts.h"

#include <iterator>

namespace {

constexpr CalibrationChoice kTemperatureChoices[] = {
    {"Калибр. на 51.0 Ом", 0xFF9D},
    {"Калибр. на 141.2 Ом", 0xFF9E},
    {"Калибр. на 673.3 Ом", 0xFF9F},
    {"Сохранить", 0xFFA0},
};
constexpr CalibrationChoice kCurrentChoices[] = {
    {"Калибр. на 20.0 mA", 0xFFA1},
    {"Сохранить", 0xFFA2},
};

QString Resource(const char* format, std::uint32_t minutes)
{
    return QString::asprintf(format, int(minutes / 60), int(minutes % 60));
}

}  // namespace

QStringList BatteryTypeNames()
{
    return {QStringLiteral("Тип AA"), QStringLiteral("Тип C"), QStringLiteral("Тип D")};
}

QStringList VariantNames()
{
    return {QStringLiteral("Россия"), QStringLiteral("Казахстан"), QStringLiteral("Украина")};
}

QString MakerReleaseDateText(const TChronoArch& date)
{
    return QString::asprintf("Дата выпуска: %.2d.%.2d.%.2d %.2d", date.day, date.month, date.year + kBaseYear,
                             date.hour);
}

QString ServiceCentreResourceText(const ServiceCentreData& data)
{
    return Resource("Заданный рес.батареи: %d ч. %d мин.\r\n", data.batteryResourceSet)
        + Resource("Оставшийся рас.рес.батареи: %d ч. %d мин.\r\n", data.batteryResourceLeft)
        + Resource("Наработка modbus: %d ч. %d мин.\r\n", data.modbusMinutes)
        + Resource("Наработка дисплея: %d ч. %d мин.\r\n", data.displayMinutes);
}

const CalibrationChoice* TemperatureCalibrationChoices(int* count)
{
    *count = int(std::size(kTemperatureChoices));
    return kTemperatureChoices;
}

const CalibrationChoice* CurrentCalibrationChoices(int* count)
{
    *count = int(std::size(kCurrentChoices));
    return kCurrentChoices;
}
