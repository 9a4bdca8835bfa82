#pragma once
// What a read button of the archives page sets in motion: from the data type, the date and the texts
// the user filled in, the request block, the command to queue and what the page shows afterwards (the
// stepped date, the limited entry count). The page itself only moves texts in and out.

#include "meter/archive_descriptors.h"
#include "meter/archive_step.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// "Тип данных:", in the order of its choice.
enum ArchiveDataType : int {
    kDataHourly = 0,
    kDataDaily = 1,
    kDataMonthly = 2,
    kDataTotals = 3,
    kDataCurrentValues = 4,
    kDataCurrentTotals = 5,
    kDataDbChanges = 6,
    kDataAdministrative = 7,
    kDataDiagnostics = 8,
};
constexpr int kArchiveDataTypeCount = 9;

// "Часовой", ..., "Архив диагн.".
QStringList ArchiveDataTypeNames();

// Which inputs a data type uses: the date and hour, the reading period, the record number and count.
constexpr bool DataTypeUsesDate(int type)
{
    return type >= kDataHourly && type <= kDataTotals;
}
constexpr bool DataTypeUsesPeriod(int type)
{
    return type == kDataCurrentValues || type == kDataCurrentTotals;
}
constexpr bool DataTypeUsesRecords(int type)
{
    return type >= kDataDbChanges && type <= kDataDiagnostics;
}

// The page's inputs at the moment a read button is pressed.
struct ArchiveReadForm {
    int dataType = kDataHourly;
    TChronoArch date{1, 1, 11, 23};  // the date picker's day, month and year byte; the hour of "Час:"
    bool cyclic = false;             // "Период чтения (сек.):"
    QString periodText;              // its seconds
    QString recordText;              // "Зап.N:"
    QString countText;               // "Кол-во:"
};

// A periodic read asks the meter at most once a second, whatever period was typed (0 or none included):
// faster it would flood the line and the exchange log.
inline constexpr int kMinReadPeriodMs = 1000;
// The highest flash page number the request block can carry.
inline constexpr int kMaxFlashPage = 0xFFFF;

struct ArchiveReadPlan {
    std::uint32_t command = 0;  // 11, 12 or 13 (DriverCommand)
    ArchiveRequest request{};
    bool cyclic = false;
    int periodMs = 0;
    TChronoArch date{};  // the date after the step: the page shows and stores it (value archives)
    QString countText;   // "Кол-во:" as the field shows it afterwards
};

// `step` is 0 for "Прочитать", +1 for "Следующая", -1 for "Предыдущая"; the step works on value
// archives only and uses the report time the meter closes its records with.
ArchiveReadPlan PlanArchiveRead(const ArchiveReadForm& form, int step, ReportTime reportTime);

// Where the page's date stands once the descriptors are known: on the newest record of the archive
// `dataType` reads when `shown` lies outside what that archive holds; nothing when it lies inside (a date
// the user chose stays) or the archive is empty or not a value archive.
std::optional<TChronoArch> DateInsideArchive(const ArchiveDescriptors& descriptors, int dataType,
                                             const TChronoArch& shown, ReportTime reportTime);

// The number at the start of a field's text: blanks, an optional sign and the digits that follow; a
// text that does not start with a number is 0, and one too long for an int saturates.
int FieldNumber(const QString& text);
