#pragma once
// A stretch of records as a table for a spreadsheet: one row per record, the date and the chosen
// quantities, then one column of markers per chosen quantity that has flags ("t1 НС": "<", ">", "!").
// CSV is UTF-8 with a byte-order mark and ";" between cells, numbers with the decimal separator the
// caller chooses (a spreadsheet reads a number only with its own locale's separator: a comma in Russian,
// a point in English). The HTML form is the report writer's worksheet page (windows-1251): each number
// shows with a decimal comma and carries its locale-free value in attributes, so a spreadsheet in any locale
// reads the value, not the text.
//
// Numbers are written with the fewest digits that read back as the same single-precision value.

#include "archives/archive_range.h"
#include "archives/trend_quantities.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What every CSV file of ours has: the byte-order mark, ";" between cells, CR LF line ends.
inline constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr char kCsvSeparator = ';';
inline constexpr const char* kCsvLineEnd = "\r\n";

using TrendSelection = std::vector<const TrendQuantity*>;

enum class DecimalSeparator { Comma, Point };

// The decimal separator of the user's locale (LC_NUMERIC, LANG): a comma in Russian, a point in
// English and in the C locale.
DecimalSeparator LocaleDecimalSeparator();
// "comma" or "point"; nothing for any other word.
std::optional<DecimalSeparator> ParseDecimalSeparator(const QString& word);

// "Дата", "t1, °C", ..., "t1 НС", ...
QStringList RangeTableHeads(const TrendSelection& quantities);
// The cells of one record, in the order of the heads: the date "dd.MM.yyyy hh:00", the numbers (empty
// for a value that is not a number), the markers.
QStringList RangeTableRow(const RangeRecord& record, const TrendSelection& quantities,
                          DecimalSeparator separator = DecimalSeparator::Comma);

// The whole CSV file: BOM, heads, rows, CR LF line ends.
QByteArray RangeCsv(const std::vector<RangeRecord>& records, const TrendSelection& quantities,
                    DecimalSeparator separator);
// The whole HTML file; `title` heads the sheet ("Часовой архив, зав.N 12345, 01.03.2024 - 07.03.2024").
QByteArray RangeHtml(const std::vector<RangeRecord>& records, const TrendSelection& quantities, const QString& title);

// "Часовой архив, зав.N 12345, 01.03.2024 - 07.03.2024": what heads the sheet.
QString RangeTableTitle(const ArchiveRange& range, std::uint32_t serial);
// "Записей: 168 (из базы: 100, с прибора: 68)", and ", не прочитано: N" when a stop left dates unread, then
// "; ответ с чужой датой: 05.03.2024 13:00:00" for those the meter answered with other records' dates.
QString RangeResultText(const ArchiveRangeResult& result);

// A number as the table writes it: "90,123", "-0,5" (or "90.123", "-0.5"), "" for NaN and infinities.
QString RangeNumberText(float value, DecimalSeparator separator = DecimalSeparator::Comma);
