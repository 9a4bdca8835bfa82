#pragma once
// The statement as a file: its form chosen by name or by the file's extension, the bytes made, and the
// date it says it was made (SOURCE_DATE_EPOCH fixes it, so two runs make the same file).

#include "archives/range_table.h"
#include "statement/statement_model.h"

#include <QByteArray>
#include <QString>

#include <optional>

enum class StatementFormat { kPdf, kXlsx, kCsv, kHtml };

// "pdf", "xlsx", "csv", "html"; nothing for any other word.
std::optional<StatementFormat> StatementFormatNamed(const QString& name);
// By the file name's extension (".htm" too); nothing when it names none of the four.
std::optional<StatementFormat> StatementFormatOfFile(const QString& fileName);
// "pdf", "xlsx", "csv", "html".
QString StatementExtension(StatementFormat format);

// False with the failure in words.
bool StatementBytes(const Statement& statement, StatementFormat format, DecimalSeparator separator, QByteArray* bytes,
                    QString* error);

// "ДД.ММ.ГГГГ": the day of SOURCE_DATE_EPOCH (UTC) when it is set, else today.
QString StatementMadeDate();
