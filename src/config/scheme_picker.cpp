#include "config/scheme_picker.h"

#include "config/model_capabilities.h"
#include "config/scheme_table.h"
#include "config/tunes_defaults.h"
#include "config/tx_choices.h"

namespace {

// The question before the input's settings go back to their defaults; empty when none is asked.
QString ConfirmationFor(int current, int scheme)
{
    if (current == 0)
        return {};
    if (scheme == 0)
        return QStringLiteral("Удалить тепловой ввод?");
    if (scheme == current)
        return QStringLiteral(
            "Изменение КТ3 или ФРТ приведёт к установке других параметров в значения по умолчанию. "
            "Продолжить изменение?");
    return QStringLiteral(
        "Изменение схемы измерения теплового ввода приведёт к установке параметров по умолчанию. "
        "Продолжить изменение?");
}

}  // namespace

bool ApplySchemeChoice(DbSettings& db, int input, const DeviceIdentity& identity, int scheme, int row,
                       ConfigMessageHost& host)
{
    InputSettings& in = db.inputs[input];
    const InputSettings& otherIn = db.inputs[1 - input];
    const int model = identity.modelIndex;
    const SchemeCombination* combination = CombinationAt(scheme, row);

    if (scheme < 0 || scheme > kMaxScheme || (scheme != 0 && !combination)) {
        ShowConfigWarning(host, "Недопустимое сочетание параметров КТ3/ФРТ!");
        return false;
    }
    if (scheme == in.scheme && (scheme == 0 || (combination->Kt3() == in.Kt3() && combination->Frt() == in.Frt())))
        return false;
    const bool otherReadsOurChannel = otherIn.scheme >= 1 && otherIn.scheme <= kMaxScheme
        && otherIn.ColdWaterUse() == 3;
    if (otherReadsOurChannel && combination && (combination->Kt3() == 2 || combination->Kt3() == 3)) {
        ShowConfigInformation(host, TxInUseMessage(1 - input));
        return false;
    }
    const QString question = ConfirmationFor(in.scheme, scheme);
    if (!question.isEmpty() && !AskConfigYesNo(host, question))
        return false;
    if (scheme != 0 && !combination->AllowsModel(model, input)) {
        ShowConfigWarning(host,
                          QString::asprintf("Выбранное сочетание СИ, КТ3 и ФРТ недопустимо для вычислителя модели %s!",
                                            qUtf8Printable(ModelName(model))));
        return false;
    }
    in.scheme = std::uint8_t(scheme);
    MakeDefaultInput(db, input, model);
    in.SetKt3(combination ? combination->Kt3() : kNoSchemeKt3);
    in.SetFrt(combination ? combination->Frt() : kNoSchemeFrt);
    return true;
}

bool RemoveSchemeNotOffered(DbSettings& db, int input, const DeviceIdentity& identity, ConfigMessageHost& host)
{
    InputSettings& in = db.inputs[input];
    const int model = identity.modelIndex;
    if (SchemeOfferedFor(in.scheme, model, input))
        return false;
    ShowConfigInformation(
        host,
        QString::asprintf("Схема измерения %d недопустима для вычислителя модели %s. ТВ будет удален.", in.scheme,
                          qUtf8Printable(ModelName(model))));
    in.scheme = 0;
    in.SetKt3(kNoSchemeKt3);
    in.SetFrt(kNoSchemeFrt);
    return true;
}
