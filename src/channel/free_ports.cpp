#include "channel/free_ports.h"

namespace {

QString StampedLine(const char* format, const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf(format, date.day(), date.month(), date.year(), clock.hour(), clock.minute(),
                             clock.second(), clock.msec());
}

}  // namespace

FreePortTable FreePortTable::AllFree()
{
    FreePortTable table;
    table.m_free.fill(true);
    return table;
}

bool FreePortTable::IsFree(int number) const
{
    return number >= 1 && number <= kPortCount && m_free[static_cast<std::size_t>(number - 1)];
}

void FreePortTable::SetFree(int number, bool free)
{
    if (number >= 1 && number <= kPortCount)
        m_free[static_cast<std::size_t>(number - 1)] = free;
}

int FreePortTable::FirstFree() const
{
    for (int number = 1; number <= kPortCount; ++number) {
        if (IsFree(number))
            return number;
    }
    return -1;
}

QList<int> FreePortTable::FreeNumbers() const
{
    QList<int> numbers;
    for (int number = 1; number <= kPortCount; ++number) {
        if (IsFree(number))
            numbers.append(number);
    }
    return numbers;
}

QString PortSearchStartLine(const QDateTime& time)
{
    return StampedLine("Поиск свободных СОМ-портов (старт): %.2d.%.2d.%.2d %.2d:%.2d:%.2d.%.3d!", time);
}

QString PortSearchStopLine(const QDateTime& time)
{
    return StampedLine("Поиск свободных СОМ-портов (стоп) : %.2d.%.2d.%.2d %.2d:%.2d:%.2d.%.3d!", time);
}

FreePortTable SearchFreePorts(const std::function<void(const QString&)>& monitorLine,
                              const std::function<bool(int)>& probe)
{
    if (monitorLine)
        monitorLine(PortSearchStartLine(QDateTime::currentDateTime()));
    FreePortTable table;
    for (int number = 1; number <= FreePortTable::kPortCount; ++number)
        table.SetFree(number, probe && probe(number));
    if (monitorLine)
        monitorLine(PortSearchStopLine(QDateTime::currentDateTime()));
    return table;
}
