#pragma once
// The statement's files as the desktop program saves them: the four forms the save dialog offers, the
// form a chosen name and filter give, and each file written whole or not at all.

#include "statement/statement_model.h"

#include <QString>
#include <QStringList>

class PageHost;

// "PDF (*.pdf)", "Книга XLSX (*.xlsx)", "Таблица CSV (*.csv)", "Таблица HTML (*.html *.htm)", PDF first.
QStringList StatementSaveFilters();

// The file a chosen name means: a name ending in one of the forms' extensions stays as it is, any other
// gets the extension of the filter chosen (PDF when it is none of them).
QString StatementSavePath(const QString& chosen, const QString& filter);

// Writes the statement to `path` in the form its extension names; false after telling the user why
// through `host` (the file is then as it was before).
bool SaveStatementFile(PageHost& host, const Statement& statement, const QString& path);
