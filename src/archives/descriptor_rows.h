#pragma once
// The archive descriptors as the list of the archives page shows them: one row per value archive,
// the reset date, an empty row, and the capacities of the three event logs.

#include <QList>
#include <QStringList>

#include "meter/archive_descriptors.h"

// "Часовой", "Суточный", "Месячный", "Итоговый" by kind.
QString ValueArchiveName(int kind);

// "Архив", "Дата начала", "Дата конца", "Макс.число зап.", "Инд. для записи", "Размер записи",
// "Пр.закольц.".
QStringList DescriptorColumnTitles();

// Nine rows of seven texts each. An archive whose first date is empty shows "пуст" and nothing else.
QList<QStringList> DescriptorRows(const ArchiveDescriptors& descriptors);
