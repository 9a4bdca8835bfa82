#pragma once
// Records left out because the meter kept answering with other records' dates (another program polling
// it between our two exchanges): how their dates are listed, and how the user is told once a run is over.

#include "meter/archive_date.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CRovoRedod;

// "25.02.2024 05:00:00, 25.02.2024 06:00:00"; past the first ten, " и еще N".
QString OtherDatesList(const std::vector<DateTimeStamp>& dates);
// "часовой архив 25.02.2024 05:00:00, ...": one archive's part of the message below.
QString OtherDatesOfArchive(int kind, const std::vector<DateTimeStamp>& dates);
// Logged and shown (as every failure is): "Записей не записано: N - прибор отвечал на их запросы записями
// за другие даты (возможно, его опрашивает и другая программа): <parts joined by "; ">".
void ReportOtherDateRecords(CRovoRedod& driver, std::int64_t count, const QStringList& parts);
