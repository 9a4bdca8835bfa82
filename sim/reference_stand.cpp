#include "reference_stand.h"

#include "protocol/rkm8_commands.h"

namespace {

constexpr char kCommandStart = 'W';
constexpr char kResistanceSelector = 'd';
constexpr unsigned char kFirstCurrentSelector = 0x60;

}  // namespace

QByteArray ReferenceStand::Feed(const QByteArray& bytes)
{
    m_pending += bytes;
    QByteArray reply;
    for (;;) {
        // Noise before a command start is dropped.
        const qsizetype start = m_pending.indexOf(kCommandStart);
        if (start < 0) {
            m_pending.clear();
            break;
        }
        m_pending.remove(0, start);
        if (m_pending.size() < kStandCommandLength)
            break;
        reply += Answer(m_pending.left(kStandCommandLength));
        m_pending.remove(0, kStandCommandLength);
    }
    return reply;
}

QByteArray ReferenceStand::Answer(const QByteArray& command)
{
    const auto selector = static_cast<unsigned char>(command[1]);
    const auto index = static_cast<unsigned char>(command[2]);
    const bool framed = command[3] == '\r' && command[4] == '\n' && index < kStandMeasures;
    QString measure;
    if (framed && selector == kResistanceSelector)
        measure = QString::asprintf("R=%.3f", kStandResistances[index]);
    else if (framed && selector >= kFirstCurrentSelector && selector < kFirstCurrentSelector + kStandCurrentOutputs)
        measure = QString::asprintf("I%d=%.3f", selector - kFirstCurrentSelector, kStandCurrents[index]);

    std::lock_guard<std::mutex> lock(m_lock);
    QByteArray reply = m_echo ? command : QByteArray();
    if (measure.isEmpty()) {
        ++m_refused;
        return reply + "Er";
    }
    m_measures.append(measure);
    return reply + "Ok";
}

QStringList ReferenceStand::Measures() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_measures;
}

int ReferenceStand::Refused() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_refused;
}
