// The checks of the three pipes of one thermal input: contract values, pressure sensors, flow meters.

#include "config/model_capabilities.h"
#include "config/pipe_use.h"
#include "config/pressure_units.h"
#include "config/scheme_table.h"
#include "config/tunes_checks.h"

namespace {

constexpr float kVolumeMax = 99999.9f;

bool CheckPressure(const TunesCheck& check, PipeSettings& pipe, int p, int t, int k, int input)
{
    if (OutsideRange(pipe.contractPressure, kPressureMinMpa, kPressureMaxMpa))
        return check.Fail(QString::asprintf(
            check.mks ? "Договорное значение по P может быть задано в пределах %.5f-%.5f кгс/см2 (ТВ%d в БД%d)!"
                      : "Договорное значение по P может быть задано в пределах %.5f-%.5f МПа (ТВ%d в БД%d)!",
            check.ShownPressure(kPressureMinMpa), check.ShownPressure(kPressureMaxMpa), t, k));
    if (!pipe.PressureSensor())
        return true;
    if (!HasPressureChannel(check.model, input, p - 1))
        return check.Fail(
            QString::asprintf("Задано измерение P%d в ТВ%d в БД%d, но в данной модели вычислителя "
                              "отсутствует измерительный канал!",
                              p, t, k));
    if (OutsideRange(pipe.heightCorrection, -9.9f, 9.9f))
        return check.Fail(QString::asprintf("Значение Pп может быть задано в пределах %f-%f м (P%d ТВ%d в БД%d)!", -9.9,
                                            9.9, p, t, k));
    if (OutsideRange(pipe.sensorUpperLimit, kPressureMinMpa, kPressureMaxMpa))
        return check.Fail(
            QString::asprintf(check.mks ? "Pв может быть задано в пределах %.5f-%.5f кгс/см2 (P%d ТВ%d в БД%d)!"
                                        : "Pв может быть задано в пределах %.5f-%.5f МПа (P%d ТВ%d в БД%d)!",
                              check.ShownPressure(kPressureMinMpa), check.ShownPressure(kPressureMaxMpa), p, t, k));
    return true;
}

bool CheckVolume(const TunesCheck& check, const PipeSettings& pipe, int p, int t, int k, int input)
{
    // Models "01" and "04.1" are not held to their volume channels.
    if (!HasVolumeChannel(check.model, input, p - 1) && check.model != 0 && check.model != 4)
        return check.Fail(
            QString::asprintf("Задано измерение объема, но в данной модели вычислителя отсутствует "
                              "измерительный канал (V%d ТВ%d в БД%d)!",
                              p, t, k));
    if (pipe.VolumeControl() >= 5)
        return check.Fail(QString::asprintf("Недопустимый тип обработки НС по V%d для ТВ%d в БД%d!", p, t, k));
    if (pipe.PowerControl() == 3)
        return check.Fail(
            QString::asprintf("Недопустимый тип контроля откл. пит. расходомера по V%d для ТВ%d в БД%d!", p, t, k));
    if (pipe.FlowMeterType() & 2)
        return check.Fail(QString::asprintf("Недопустимый тип импульсов по V%d для ТВ%d в БД%d!", p, t, k));
    if (OutsideRange(pipe.pulseWeight, 0.0f, 10000.0f))
        return check.Fail(
            QString::asprintf("Значение веса импульса может быть задано в пределах %f-%f л/имп. (V%d ТВ%d в БД%d)!",
                              0.0, 10000.0, p, t, k));
    if (OutsideRange(pipe.hourlyVolumeMin, 0.0f, kVolumeMax))
        return check.Fail(QString::asprintf("Значение Vч.ниж. может быть задано в пределах %f-%f м3 (V%d ТВ%d в БД%d)!",
                                            0.0, 99999.9, p, t, k));
    if (OutsideRange(pipe.hourlyVolumeMax, 0.0f, kVolumeMax))
        return check.Fail(QString::asprintf(
            "Значение Vч.верх. может быть задано в пределах %f-%f м3 (V%d ТВ%d в БД%d)!", 0.0, 99999.9, p, t, k));
    if (pipe.hourlyVolumeMax < pipe.hourlyVolumeMin)
        return check.Fail(
            QString::asprintf("Значение Vч.верх. должно быть больше значение Vч.ниж. (V%d ТВ%d в БД%d)!", p, t, k));
    if (OutsideRange(pipe.hourlyVolumeContract, 0.0f, kVolumeMax))
        return check.Fail(QString::asprintf("Значение Vч.дог. может быть задано в пределах %f-%f м3 (V%d ТВ%d в БД%d)!",
                                            0.0, 99999.9, p, t, k));
    return true;
}

}  // namespace

bool CheckPipes(TunesCheck& check, int db, int input)
{
    DbSettings& settings = check.blocks.tunes.db[db];
    const InputSettings& in = settings.inputs[input];
    const SchemeEntry& scheme = *SchemeAt(in.scheme);
    const bool pressureWithAnyKt3 = check.blocks.identity.Pipe3PressureWithAnyKt3();
    const int t = input + 1;
    const int k = db + 1;

    for (int index = 0; index < kPipeCount; ++index) {
        PipeSettings& pipe = settings.pipes[input][index];
        const PipeUse use = UseOfPipe(scheme, in.Kt3(), pressureWithAnyKt3, index);
        const int p = index + 1;
        if (use.temperature && OutsideRange(pipe.contractTemperature, 0.0f, 175.0f))
            return check.Fail(
                QString::asprintf("Договорное значение по t может быть задано в пределах %f-%f гр.С (t%d ТВ%d в БД%d)!",
                                  0.0, 175.0, p, t, k));
        // A pipe without a pressure has no sensor to report.
        if (!use.pressure)
            pipe.SetPressureSensor(false);
        else if (!CheckPressure(check, pipe, p, t, k, input))
            return false;
        if (use.volume && !CheckVolume(check, pipe, p, t, k, input))
            return false;
    }
    return true;
}
