#include "config/service_page_rules.h"

#include "config/model_capabilities.h"
#include "config/service_data_texts.h"

namespace {
constexpr int kModel041 = 4;
constexpr std::uint16_t kFirstLevelWithModel041 = 524;
}  // namespace

bool MakerModelFitsMeter(int model, std::uint16_t firmwareLevel)
{
    if (model < 0 || model >= kModelCount)
        return false;
    return model != kModel041 || firmwareLevel >= kFirstLevelWithModel041;
}

QString MakerModelRefusal()
{
    return QString::fromUtf8("Недопустимый номер модели для данного прибора!");
}

QString ClockResetQuestion()
{
    return QString::fromUtf8("Выполнение команды приведет к сбросу архива. Продолжить выполнение?");
}

namespace {

constexpr std::uint16_t kSaveTemperatureCalibration = 0xFFA0;
constexpr std::uint16_t kSaveCurrentCalibration = 0xFFA2;

}  // namespace

QString ServiceCodeQuestion(std::uint16_t code)
{
    switch (code) {
        case kServiceEraseArchive:
            return QString::fromUtf8("Стереть все архивы прибора? Данные будут потеряны безвозвратно.");
        case kSaveTemperatureCalibration:
        case kSaveCurrentCalibration:
            return QString::fromUtf8("Сохранить новые калибровочные коэффициенты в приборе? Прежние будут заменены.");
        default:
            return QString();
    }
}

QString ServiceCodeDoneText(std::uint16_t code)
{
    switch (code) {
        case kServiceEraseArchive:
            return QString::fromUtf8("Архивы прибора стерты.");
        case kSaveTemperatureCalibration:
        case kSaveCurrentCalibration:
            return QString::fromUtf8("Калибровочные коэффициенты сохранены в приборе.");
        default:
            return QString();
    }
}
