#pragma once
// The pieces the settings report is built of: table rows of one cell per line, every line ending in
// CR LF, and the value texts of its cells.

#include <QString>
#include <QStringList>

#include "config/config_texts.h"

namespace settings_report {

inline constexpr const char* kCrLf = "\r\n";
inline constexpr const char* kEmpty = "&nbsp;";
// Seven columns: a group heading, a label over three, a value and two fillers (or six value columns).
inline constexpr int kFillerCells = 6;

// "  <td ATTRIBUTES>TEXT</td>\r\n", the attributes separated from the tag by one space when given.
QString Td(const QString& text, const QString& attributes = {});
QString Th(const QString& text, const QString& attributes = {});
// A value cell spanning `columns` (no attribute for one), "&nbsp;" when `text` is empty; a decimal
// fraction carries its value as a number (NumberAttribute).
QString SpanTd(const QString& text, int columns);

// `x:num="56.374" sdval="56.374" sdnum="1033;"`: the cell's value as a number with a decimal point,
// which a spreadsheet reads in any locale, whatever the cell shows (Excel reads x:num; LibreOffice reads
// sdval when sdnum names the language of the value, 1033 being English). `value` has a point.
QString NumberAttribute(const QString& value);
// NumberAttribute for a text that is a decimal fraction as the report prints it ("6.11832",
// "-0.50"), nothing for any other text (whole numbers read alike in every locale, and a serial number
// must keep its leading zeros).
QString FractionAttribute(const QString& text);

// " <tr>\r\n", the cells, " </tr>\r\n".
void AppendRow(QString& out, const QStringList& cells);
// A borderless title cell ("Общие", "Настройки БД1") padded with borderless empty cells.
void AppendTitleRow(QString& out, const QString& title);

// The short text of an enumerated value; "недоп.значение" for a value outside its list.
QString Enumerated(ValueTexts table, unsigned value);
// A decimal value as the report prints it: FormatValue with `decimals` and `width`, no padding.
QString Decimal(double value, int decimals, int width);
// The pressure unit of the unit system: "МПа" or "кгс/см2".
QString PressureUnit(unsigned unitSystem);

}  // namespace settings_report
