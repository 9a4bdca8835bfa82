#pragma once
// Which of COM1..COM32 may be offered for a node: the free-port table. The search that fills it opens
// every port in turn; while it is switched off (as it is in every run) all 32 ports count as free.

#include "channel/serial_port.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <functional>

class FreePortTable {
public:
    static constexpr int kPortCount = 32;

    // Every port free.
    static FreePortTable AllFree();

    // `number` is 1-based; numbers outside 1..32 are never free.
    bool IsFree(int number) const;
    void SetFree(int number, bool free);
    // The number of the first free port, or -1 when none is.
    int FirstFree() const;
    QList<int> FreeNumbers() const;

private:
    std::array<bool, kPortCount> m_free{};
};

// The monitor lines that frame the search, stamped with `time` (day, month, full year, time with ms).
QString PortSearchStartLine(const QDateTime& time);
QString PortSearchStopLine(const QDateTime& time);

// Tries each port 1..32 with `probe` and marks those that open. The exchange monitor (`monitorLine`)
// gets a line before and after, with the time of each.
FreePortTable SearchFreePorts(const std::function<void(const QString&)>& monitorLine,
                              const std::function<bool(int)>& probe = ProbePort);
