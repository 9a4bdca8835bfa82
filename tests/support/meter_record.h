#pragma once
// The records the simulated meter holds, as the export tests compare them with table rows. Apart from
// the driver's headers: the archive records and the configuration record name their counts alike.

#include "meter/archive_descriptors.h"

#include <QByteArray>
#include <QString>

#include <vector>

class MeterSimulator;

struct MeterRecord {
    QString date;      // "yyyy-MM-dd hh:mm:ss", the date it is filed under
    QByteArray bytes;  // what the meter answers for it
};

// Every finished record of the kind, oldest first, walked with the meter's own stepping.
std::vector<MeterRecord> MeterRecordsOf(MeterSimulator& meter, ArchiveKind kind);
