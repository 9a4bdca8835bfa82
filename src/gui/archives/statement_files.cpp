#include "gui/archives/statement_files.h"

#include "base/atomic_file.h"
#include "base/message_style.h"
#include "gui/widgets/page_host.h"
#include "statement/statement_format.h"

#include <QByteArray>

#include <array>

namespace {

struct SaveForm {
    StatementFormat format;
    const char* filter;
};

constexpr std::array<SaveForm, 4> kForms{{
    {StatementFormat::kPdf, "PDF (*.pdf)"},
    {StatementFormat::kXlsx, "Книга XLSX (*.xlsx)"},
    {StatementFormat::kCsv, "Таблица CSV (*.csv)"},
    {StatementFormat::kHtml, "Таблица HTML (*.html *.htm)"},
}};

}  // namespace

QStringList StatementSaveFilters()
{
    QStringList filters;
    for (const SaveForm& form : kForms)
        filters.append(QString::fromUtf8(form.filter));
    return filters;
}

QString StatementSavePath(const QString& chosen, const QString& filter)
{
    if (StatementFormatOfFile(chosen))
        return chosen;
    StatementFormat format = StatementFormat::kPdf;
    for (const SaveForm& form : kForms) {
        if (filter == QString::fromUtf8(form.filter))
            format = form.format;
    }
    return chosen + u'.' + StatementExtension(format);
}

bool SaveStatementFile(PageHost& host, const Statement& statement, const QString& path)
{
    const std::optional<StatementFormat> format = StatementFormatOfFile(path);
    QByteArray bytes;
    QString error = QStringLiteral("ведомость сохраняется как PDF, XLSX, CSV или HTML");
    if (format && StatementBytes(statement, *format, LocaleDecimalSeparator(), &bytes, &error)
        && ReplaceFileContents(path, bytes, &error))
        return true;
    host.ShowMessage(QStringLiteral("Не удалось сохранить ведомость в файл \"%1\": %2").arg(path, error),
                     QString::fromUtf8(kCaptionInformation), MessageStyle::kIconInformation);
    return false;
}
