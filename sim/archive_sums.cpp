#include "archive_sums.h"

namespace {

float Average(double weighted, double weight)
{
    return weight > 0 ? static_cast<float>(weighted / weight) : 0.0f;
}

bool AnyPipeFlag(const ArchiveRecord& record, int input, std::uint8_t flag)
{
    for (int k = kPipesPerInput * input; k < kPipesPerInput * (input + 1); ++k) {
        if (record.pipeFlags[k] & flag)
            return true;
    }
    return false;
}

}  // namespace

void PeriodSum::Add(const ArchiveRecord& part)
{
    for (int k = 0; k < kArchivePipeCount; ++k) {
        const double weight = part.inputs[k / kPipesPerInput].VNR;
        const ArchivePipeValues& values = part.pipes[k];
        Pipe& pipe = m_pipes[k];
        pipe.tWeighted += weight * values.t;
        pipe.PWeighted += weight * values.P;
        pipe.V += values.V;
        pipe.M += values.M;
        m_last.pipeFlags[k] |= part.pipeFlags[k];
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const ArchiveInputValues& values = part.inputs[n];
        Input& input = m_inputs[n];
        const double weight = values.VNR;
        input.minutes += weight;
        input.tnvWeighted += weight * values.tnv;
        input.txWeighted += weight * values.tx;
        input.PxWeighted += weight * values.Px;
        input.dtWeighted += weight * values.dt;
        input.dM += values.dM;
        input.Qtv += values.Qtv;
        input.Q12 += values.Q12;
        input.Qg += values.Qg;
        input.VNR += values.VNR;
        input.VOS += values.VOS;
        m_last.inputFlags[n] |= part.inputFlags[n];
        m_last.schemes[n] = part.schemes[n];
    }
    m_dp += part.dp;
    m_last.dpFlags |= part.dpFlags;
    m_last.events |= part.events;
    m_last.abstractControls |= part.abstractControls;
    m_networkMinutes += part.networkMinutesWithoutPower;
    m_displayMinutes += part.displayMinutesWithoutPower;
    m_minutesOff += part.minutesPowerOff;
    m_last.activeSet = part.activeSet;
}

ArchiveRecord PeriodSum::Result(TChronoArch date) const
{
    ArchiveRecord record = m_last;
    record.date = date;
    for (int k = 0; k < kArchivePipeCount; ++k) {
        const Pipe& pipe = m_pipes[k];
        const double weight = m_inputs[k / kPipesPerInput].minutes;
        record.pipes[k] = {Average(pipe.tWeighted, weight), Average(pipe.PWeighted, weight), static_cast<float>(pipe.V),
                           static_cast<float>(pipe.M)};
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const Input& input = m_inputs[n];
        ArchiveInputValues& values = record.inputs[n];
        values.tnv = Average(input.tnvWeighted, input.minutes);
        values.tx = Average(input.txWeighted, input.minutes);
        values.Px = Average(input.PxWeighted, input.minutes);
        values.dt = Average(input.dtWeighted, input.minutes);
        values.dM = static_cast<float>(input.dM);
        values.Qtv = static_cast<float>(input.Qtv);
        values.Q12 = static_cast<float>(input.Q12);
        values.Qg = static_cast<float>(input.Qg);
        // A month has at most 44640 minutes: the 16-bit fields hold it.
        values.VNR = static_cast<std::uint16_t>(input.VNR);
        values.VOS = static_cast<std::uint16_t>(input.VOS);
    }
    record.dp = static_cast<float>(m_dp);
    record.networkMinutesWithoutPower = static_cast<std::uint16_t>(m_networkMinutes);
    record.displayMinutesWithoutPower = static_cast<std::uint16_t>(m_displayMinutes);
    record.minutesPowerOff = static_cast<std::uint16_t>(m_minutesOff);
    return record;
}

void RunningTotals::Add(const ArchiveRecord& hour)
{
    AddPart(hour, 1.0);
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const ArchiveInputValues& values = hour.inputs[n];
        Input& input = m_inputs[n];
        input.VNR += values.VNR;
        input.VOS += values.VOS;
        input.volumeLow += AnyPipeFlag(hour, n, kPipeFlagVLow) ? 1 : 0;
        input.volumeHigh += AnyPipeFlag(hour, n, kPipeFlagVHigh) ? 1 : 0;
        input.sensorFault += AnyPipeFlag(hour, n, kPipeFlagTFault) ? 1 : 0;
        input.smallDt += (hour.inputFlags[n] & kInputFlagDtLow) ? 1 : 0;
        if (hour.events & kEventPowerOff)
            input.powerOff += values.VOS;
    }
    m_networkMinutes += hour.networkMinutesWithoutPower;
    m_displayMinutes += hour.displayMinutesWithoutPower;
    m_minutesOff += hour.minutesPowerOff;
}

void RunningTotals::AddPart(const ArchiveRecord& hour, double fraction)
{
    for (int k = 0; k < kArchivePipeCount; ++k) {
        m_V[k] += fraction * hour.pipes[k].V;
        m_M[k] += fraction * hour.pipes[k].M;
    }
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const ArchiveInputValues& values = hour.inputs[n];
        Input& input = m_inputs[n];
        input.dM += fraction * values.dM;
        input.Qtv += fraction * values.Qtv;
        input.Q12 += fraction * values.Q12;
        input.Qg += fraction * values.Qg;
    }
    m_dp += fraction * hour.dp;
}

TotalsBody RunningTotals::Body() const
{
    TotalsBody body{};
    for (int k = 0; k < kArchivePipeCount; ++k)
        body.pipes[k] = {m_V[k], m_M[k]};
    for (int n = 0; n < kArchiveInputCount; ++n) {
        const Input& input = m_inputs[n];
        TotalsInputValues& values = body.inputs[n];
        values.dM = input.dM;
        values.Qtv = input.Qtv;
        values.Q12 = input.Q12;
        values.Qg = input.Qg;
        // The meter's hour counters are 16 bits wide and wrap.
        values.VNR = static_cast<std::uint16_t>(input.VNR / 60);
        values.VOS = static_cast<std::uint16_t>(input.VOS / 60);
        values.vMinTime = static_cast<std::uint16_t>(input.volumeLow);
        values.vMaxTime = static_cast<std::uint16_t>(input.volumeHigh);
        values.dtTime = static_cast<std::uint16_t>(input.smallDt);
        values.powerOffTime = static_cast<std::uint16_t>(input.powerOff / 60);
        values.tFaultTime = static_cast<std::uint16_t>(input.sensorFault);
    }
    body.dp = m_dp;
    body.networkMinutesWithoutPower = m_networkMinutes;
    body.displayMinutesWithoutPower = m_displayMinutes;
    body.minutesPowerOff = m_minutesOff;
    return body;
}
