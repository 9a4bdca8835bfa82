#include "config/service_page_rules.h"

#include "config/model_capabilities.h"

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
