#pragma once
// What the simulated meter will answer for an archive record, told apart from the configuration
// headers (the archive records and the configuration record name their pipe counts alike, so the two
// families of headers do not meet in one file).

#include "meter/archive_descriptors.h"
#include "sim/meter_simulator.h"

#include <QByteArray>

// The newest finished record of a value archive, as many bytes as the meter's firmware level sends,
// and its date in `date`. Empty when the archive has none.
QByteArray NewestArchiveRecord(MeterSimulator& meter, ArchiveKind kind, TChronoArch& date);
