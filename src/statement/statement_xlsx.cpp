#include "statement/statement_writers.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kDateColumnWidth = 12;
constexpr double kHourDateColumnWidth = 17;
constexpr double kValueColumnWidth = 11;
constexpr double kMarksColumnWidth = 16;
constexpr std::uint8_t kPaperA4 = 9;
constexpr double kSheetTitleSize = 14;

struct Formats {
    lxw_format* title;
    lxw_format* bold;
    lxw_format* head;
    lxw_format* date;
    lxw_format* text;
    std::vector<lxw_format*> decimals;  // "0", "0.0", ... "0.000"; bold ones behind them
    std::vector<lxw_format*> boldDecimals;
};

Formats MakeFormats(lxw_workbook* book, ArchiveKind kind)
{
    Formats formats{};
    formats.title = workbook_add_format(book);
    format_set_bold(formats.title);
    format_set_font_size(formats.title, kSheetTitleSize);
    formats.bold = workbook_add_format(book);
    format_set_bold(formats.bold);
    formats.head = workbook_add_format(book);
    format_set_bold(formats.head);
    format_set_border(formats.head, LXW_BORDER_THIN);
    format_set_align(formats.head, LXW_ALIGN_CENTER);
    format_set_text_wrap(formats.head);
    formats.date = workbook_add_format(book);
    format_set_num_format(formats.date, kind == kArchiveDaily ? "dd.mm.yyyy" : "dd.mm.yyyy hh:mm");
    format_set_border(formats.date, LXW_BORDER_THIN);
    formats.text = workbook_add_format(book);
    format_set_border(formats.text, LXW_BORDER_THIN);
    for (int bold : {0, 1}) {
        for (int d = 0; d <= 3; ++d) {
            lxw_format* format = workbook_add_format(book);
            const std::string pattern = d == 0 ? "0" : "0." + std::string(std::size_t(d), '0');
            format_set_num_format(format, pattern.c_str());
            format_set_border(format, LXW_BORDER_THIN);
            if (bold)
                format_set_bold(format);
            (bold ? formats.boldDecimals : formats.decimals).push_back(format);
        }
    }
    return formats;
}

void Text(lxw_worksheet* sheet, int row, int column, const QString& text, lxw_format* format = nullptr)
{
    worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), format);
}

void Number(lxw_worksheet* sheet, int row, int column, double value, int decimals, lxw_format* const* formats)
{
    if (std::isfinite(value))
        worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), value, formats[std::clamp(decimals, 0, 3)]);
    else
        worksheet_write_blank(sheet, lxw_row_t(row), lxw_col_t(column), formats[0]);
}

void Lines(lxw_worksheet* sheet, int* row, const QStringList& lines, lxw_format* format = nullptr)
{
    for (const QString& line : lines)
        Text(sheet, (*row)++, 0, line, format);
}

void Sheet(lxw_workbook* book, const Formats& f, const Statement& statement, const StatementSection& section)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, section.name.toUtf8().constData());
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kPaperA4);
    worksheet_fit_to_pages(sheet, 1, 0);
    int row = 0;
    Text(sheet, row++, 0, statement.title, f.title);
    Text(sheet, row++, 0, statement.subtitle, f.bold);
    Lines(sheet, &row, statement.heading);
    Text(sheet, row++, 0, section.name, f.bold);
    Lines(sheet, &row, section.about);
    ++row;
    const int headRow = row;
    const int columns = int(section.columns.size());
    Text(sheet, row, 0, QStringLiteral("Дата"), f.head);
    for (int c = 0; c < columns; ++c)
        Text(sheet, row, c + 1, StatementHead(section.columns[std::size_t(c)]), f.head);
    Text(sheet, row++, columns + 1, QStringLiteral("НС"), f.head);
    worksheet_freeze_panes(sheet, lxw_row_t(row), 1);
    worksheet_repeat_rows(sheet, lxw_row_t(headRow), lxw_row_t(headRow));
    for (const StatementRow& line : section.rows) {
        lxw_datetime when{2000 + line.date.year,
                          line.date.month,
                          line.date.day,
                          statement.kind == kArchiveDaily ? 0 : line.date.hour,
                          0,
                          0};
        worksheet_write_datetime(sheet, lxw_row_t(row), 0, &when, f.date);
        if (line.missing) {
            Text(sheet, row, 1, QString::fromUtf8(kNoDataText), f.text);
        } else {
            for (int c = 0; c < columns; ++c)
                Number(sheet, row, c + 1, line.values[std::size_t(c)], section.columns[std::size_t(c)].decimals,
                       f.decimals.data());
            Text(sheet, row, columns + 1, line.marks, f.text);
        }
        ++row;
    }
    Text(sheet, row, 0, QString::fromUtf8(kTotalRowText), f.head);
    for (int c = 0; c < columns; ++c)
        Number(sheet, row, c + 1, section.total[std::size_t(c)], section.columns[std::size_t(c)].decimals,
               f.boldDecimals.data());
    row += 2;
    const QStringList heads = IntegratorHeads();
    for (int c = 0; c < heads.size(); ++c)
        Text(sheet, row, c, heads[c], f.head);
    ++row;
    for (const StatementIntegrator& line : section.integrators) {
        Text(sheet, row, 0, QStringLiteral("%1, %2").arg(line.head, line.unit), f.text);
        const QStringList cells = IntegratorCells(line, DecimalSeparator::Point);
        const std::optional<double> values[] = {line.start, line.end, line.difference, line.rows};
        for (int c = 0; c < 4; ++c) {
            if (values[c])
                Number(sheet, row, c + 1, *values[c], line.decimals, f.decimals.data());
            else
                Text(sheet, row, c + 1, cells[c + 1], f.text);
        }
        if (line.differs)
            Text(sheet, row, 5, QStringLiteral("≠"), f.bold);
        ++row;
    }
    ++row;
    for (const StatementLine& line : section.hours) {
        Text(sheet, row, 0, line.label);
        bool number = false;
        const double value = line.value.toDouble(&number);
        if (number)
            worksheet_write_number(sheet, lxw_row_t(row), 1, value, nullptr);
        else
            Text(sheet, row, 1, line.value);
        ++row;
    }
    ++row;
    Lines(sheet, &row, statement.legend);
    ++row;
    for (const QString& who : statement.signatures) {
        Text(sheet, row, 0, QStringLiteral("%1: ____________________ / ____________________ /").arg(who));
        row += 2;
    }
    Text(sheet, row, 0, QStringLiteral("Дата составления: %1").arg(statement.madeDate));
    worksheet_set_column(sheet, 0, 0, statement.kind == kArchiveDaily ? kDateColumnWidth : kHourDateColumnWidth,
                         nullptr);
    worksheet_set_column(sheet, 1, lxw_col_t(columns), kValueColumnWidth, nullptr);
    worksheet_set_column(sheet, lxw_col_t(columns + 1), lxw_col_t(columns + 1), kMarksColumnWidth, nullptr);
}

}  // namespace

bool StatementXlsx(const Statement& statement, QByteArray* bytes, QString* error)
{
    // libxlsxwriter writes a file: made in a folder of our own, read back, and the folder removed.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = QStringLiteral("не удалось создать временную папку: %1").arg(folder.errorString());
        return false;
    }
    const QByteArray path = folder.filePath(QStringLiteral("statement.xlsx")).toLocal8Bit();
    const QByteArray tmp = folder.path().toLocal8Bit();
    lxw_workbook_options options{LXW_FALSE, const_cast<char*>(tmp.constData()), LXW_FALSE};
    lxw_workbook* book = workbook_new_opt(path.constData(), &options);
    if (!book) {
        *error = QStringLiteral("не удалось начать книгу XLSX");
        return false;
    }
    const QByteArray title = statement.title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    // The date made stands for the time made, so the same statement is the same file.
    const QDate made = QDate::fromString(statement.madeDate, QStringLiteral("dd.MM.yyyy"));
    properties.created = made.isValid() ? QDateTime(made, QTime(0, 0), Qt::UTC).toSecsSinceEpoch() : 0;
    workbook_set_properties(book, &properties);
    const Formats formats = MakeFormats(book, statement.kind);
    for (const StatementSection& section : statement.sections)
        Sheet(book, formats, statement, section);
    const lxw_error result = workbook_close(book);
    if (result != LXW_NO_ERROR) {
        *error = QStringLiteral("не удалось записать книгу XLSX: %1").arg(QString::fromUtf8(lxw_strerror(result)));
        return false;
    }
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}
