#pragma once
// The statement in its four forms, each the whole file's bytes (the caller writes it atomically); the
// same Statement gives the same bytes every time. CSV: UTF-8 with a byte-order mark, ";" between cells,
// one header line, a line per row and the total line (the inputs side by side). HTML: the report
// writer's worksheet page in windows-1251. PDF: A4 landscape drawn with Qt's painter, fonts embedded
// (a QGuiApplication must exist). XLSX: an Office Open XML workbook, a sheet per input.

#include "archives/range_table.h"
#include "statement/statement_model.h"

#include <QByteArray>
#include <QString>

QByteArray StatementCsv(const Statement& statement, DecimalSeparator separator);
QByteArray StatementHtml(const Statement& statement);
// False with the failure in words when the PDF cannot be drawn.
bool StatementPdf(const Statement& statement, QByteArray* bytes, QString* error);
bool StatementXlsx(const Statement& statement, QByteArray* bytes, QString* error);

// A number with the column's decimals ("12,345"); "" for NaN.
QString StatementNumber(double value, int decimals, DecimalSeparator separator = DecimalSeparator::Comma);
// "Q, Гкал"; with `input` " ТВ1" after the head when several inputs share a table.
QString StatementHead(const StatementColumn& column, const QString& input = {});
// "12 ≠" for an integrator whose difference disagrees with its rows: the cells of one integrator line
// (head, start, end, difference, rows' sum), "нет данных" for a reading the totals archive lacks.
QStringList IntegratorCells(const StatementIntegrator& line, DecimalSeparator separator = DecimalSeparator::Comma);
// "Интегратор", "На начало", "На конец", "Разность", "По строкам"
QStringList IntegratorHeads();
