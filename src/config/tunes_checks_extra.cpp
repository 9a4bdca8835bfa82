// The checks of the extra pulse input and of the four limit controls.

#include "config/model_capabilities.h"
#include "config/tunes_checks.h"

namespace {

constexpr float kHourlyMax = 99999.9f;

bool CheckPulseCounting(const TunesCheck& check, const ExtraInputSettings& extra)
{
    if (OutsideRange(extra.weightOrConfirmation, 0.0f, 10000.0f))
        return check.Fail(QString::asprintf(
            "Значение веса импульса может быть задано в пределах %f-%f (доп. имп. вход)!", 0.0, 10000.0));
    if (OutsideRange(extra.hourlyMin, 0.0f, kHourlyMax))
        return check.Fail(QString::asprintf("Значение Знач.ч.ниж. может быть задано в пределах %f-%f (доп. имп. вход)!",
                                            0.0, 99999.9));
    if (OutsideRange(extra.hourlyMax, 0.0f, kHourlyMax))
        return check.Fail(QString::asprintf(
            "Значение Знач.ч.верх. может быть задано в пределах %f-%f (доп. имп. вход)!", 0.0, 99999.9));
    if (extra.hourlyMax < extra.hourlyMin)
        return check.Fail("Значение Знач.ч.верх. должно быть больше значение Знач.ч.ниж. (доп. имп. вход)!");
    if (extra.Units() >= 2)
        return check.Fail(
            QString::asprintf("Недопустимое значения единиц измерения доп. имп. входа (%d)!", extra.Units()));
    return true;
}

bool CheckControl(const TunesCheck& check, const ControlEntry& control, int n)
{
    const unsigned kind = control.Kind();
    if (kind >= 4)
        return check.Fail(QString::asprintf("Недопустимый контролируемый элемент для \"Контроль %d\"!", n));
    if ((kind == kControlPipe && control.Number() >= 6) || (kind == kControlInput && control.Number() >= 2))
        return check.Fail(QString::asprintf("Недопустимый номер контролируемого элемента для \"Контроль %d\"!", n));
    if ((kind == kControlPipe && control.Parameter() == 7) || (kind == kControlInput && control.Parameter() >= 6)
        || (kind == kControlExtra && control.Parameter() >= 2))
        return check.Fail(QString::asprintf("Недопустимый параметр контролируемого элемента для \"Контроль %d\"!", n));
    // A limit that is not a number can never be met either.
    if (kind != kControlUnused && !(control.maximum >= control.minimum))
        return check.Fail(QString::asprintf(
            "Значение \"Макс.значение\" не может быть меньше значения \"Мин.значение\" для \"Контроль %d\"!", n));
    return true;
}

}  // namespace

bool CheckExtraInput(TunesCheck& check)
{
    const ExtraInputSettings& extra = check.blocks.tunes.extra;
    const unsigned use = extra.Use();
    if (use >= 4)
        return check.Fail(QString::asprintf("Недопустимое значения использования доп. имп. входа (%d)!", use));
    if (use != 0 && !HasExtraInput(check.model))
        return check.Fail(
            "Задано измерение на доп. имп. входе, но в данной модели вычислителя отсутствует измерительный канал!");
    if (use == 2)
        return CheckPulseCounting(check, extra);
    if (use == 3 && OutsideRange(extra.weightOrConfirmation, 0.5f, 9.9f))
        return check.Fail(QString::asprintf(
            "Значение времени подтверждения срабатывания может быть задано в пределах %f-%f (доп. имп. вход)!", 0.5,
            9.9));
    return true;
}

bool CheckControls(TunesCheck& check)
{
    for (int n = 0; n < kControlCount; ++n) {
        if (!CheckControl(check, check.blocks.controls.controls[n], n + 1))
            return false;
    }
    return true;
}
