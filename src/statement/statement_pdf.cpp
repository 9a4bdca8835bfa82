#include "statement/statement_pdf_layout.h"
#include "statement/statement_writers.h"

#include <QBuffer>
#include <QDateTime>
#include <QHashFunctions>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kPointsPerInch = 72;

// What Qt writes that would make the same statement two different files: the creation time, which
// becomes the day the statement was made, at midnight UTC (the same length, so offsets stay).
void FixCreationDate(QByteArray* bytes, const QString& madeDate)
{
    const QByteArray key("/CreationDate (D:");
    const qsizetype at = bytes->indexOf(key);
    if (at < 0)
        return;
    const qsizetype start = at + key.size();
    const qsizetype end = bytes->indexOf(')', start);
    const QDate day = QDate::fromString(madeDate, QStringLiteral("dd.MM.yyyy"));
    QByteArray fixed = (day.isValid() ? day : QDate(2000, 1, 1)).toString(QStringLiteral("yyyyMMdd")).toLatin1();
    fixed += "000000Z";
    fixed = fixed.leftJustified(end - start, ' ', true);
    bytes->replace(start, end - start, fixed);
}

bool DrawPdf(const Statement& statement, QByteArray* bytes, QString* error)
{
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPointsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
        writer.setTitle(statement.title);
        writer.setCreator(QStringLiteral("ЗТ5 Конфигуратор"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            *error = QStringLiteral("не удалось начать документ PDF");
            return false;
        }
        StatementPdfLayout layout(statement, writer);
        const int pages = layout.Draw(nullptr, 0);
        layout.Draw(&painter, pages);
        painter.end();
    }
    FixCreationDate(bytes, statement.madeDate);
    return true;
}

}  // namespace

bool StatementPdf(const Statement& statement, QByteArray* bytes, QString* error)
{
    // The PDF engine keeps its fonts in a hash and writes them in its order: with the seed fixed while
    // it draws, the same statement gets its fonts in the same order every time.
    QHashSeed::setDeterministicGlobalSeed();
    const bool drawn = DrawPdf(statement, bytes, error);
    QHashSeed::resetRandomGlobalSeed();
    return drawn;
}
