#include "statement/statement_pdf_layout.h"

#include "statement/statement_writers.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

constexpr double kDateWidth = 62;
constexpr double kHourDateWidth = 82;
constexpr double kMarksWidth = 90;
constexpr double kPadding = 1;
constexpr double kFooterHeight = 14;
constexpr int kTextSize = 8;
constexpr int kTitleSize = 12;

QFont FontOf(int size, bool bold)
{
    // A font with Cyrillic that Qt embeds whole into the file (fonts-dejavu-core).
    QFont font(QStringLiteral("DejaVu Sans"), size);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

}  // namespace

StatementPdfLayout::StatementPdfLayout(const Statement& statement, QPagedPaintDevice& device)
    : m_statement(statement),
      m_device(device),
      m_text(FontOf(kTextSize, false)),
      m_bold(FontOf(kTextSize, true)),
      m_title(FontOf(kTitleSize, true))
{
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    m_area = QRectF(0, 0, page.width(), page.height() - kFooterHeight);
    m_rowHeight = QFontMetricsF(m_text, &device).height() + 2 * kPadding;
    m_headHeight = 2 * m_rowHeight;
}

int StatementPdfLayout::Draw(QPainter* painter, int pageCount)
{
    m_painter = painter;
    m_pageCount = pageCount;
    m_page = 1;
    m_y = 0;
    m_tableOf = nullptr;
    Line(m_statement.title, m_title);
    Line(m_statement.subtitle, m_bold);
    for (const QString& line : m_statement.heading)
        Line(line, m_text);
    for (const StatementSection& section : m_statement.sections)
        Section(section);
    m_y += m_rowHeight;
    for (const QString& line : m_statement.legend)
        Line(line, m_text);
    Ensure(m_rowHeight * 6);
    m_y += m_rowHeight * 2;
    for (const QString& who : m_statement.signatures) {
        Line(QStringLiteral("%1:  ______________________  /  ______________________  /").arg(who), m_text);
        m_y += m_rowHeight;
    }
    Line(QStringLiteral("Дата составления: %1").arg(m_statement.madeDate), m_text);
    Footer();
    return m_page;
}

void StatementPdfLayout::Footer()
{
    if (m_painter) {
        m_painter->setFont(m_text);
        m_painter->drawText(QRectF(0, m_area.bottom(), m_area.width(), kFooterHeight), Qt::AlignRight | Qt::AlignBottom,
                            QStringLiteral("Страница %1 из %2").arg(m_page).arg(m_pageCount));
    }
}

void StatementPdfLayout::NewPage()
{
    Footer();
    if (m_painter)
        m_device.newPage();
    ++m_page;
    m_y = 0;
    if (m_tableOf)
        TableHead(*m_tableOf);
}

void StatementPdfLayout::Ensure(double height)
{
    if (m_y + height > m_area.bottom())
        NewPage();
}

void StatementPdfLayout::Line(const QString& text, const QFont& font)
{
    const double height = QFontMetricsF(font, &m_device).height() + kPadding;
    Ensure(height);
    if (m_painter) {
        m_painter->setFont(font);
        m_painter->drawText(QRectF(0, m_y, m_area.width(), height), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    m_y += height;
}

void StatementPdfLayout::Columns(const StatementSection& section)
{
    const double date = m_statement.kind == kArchiveDaily ? kDateWidth : kHourDateWidth;
    const double each = (m_area.width() - date - kMarksWidth)
        / double(std::max<std::size_t>(section.columns.size(), 1));
    m_widths.assign(1, date);
    m_widths.insert(m_widths.end(), section.columns.size(), each);
    m_widths.push_back(kMarksWidth);
}

void StatementPdfLayout::TableRow(const QStringList& cells, bool bold, bool merged)
{
    TableCells(cells, bold, merged, m_rowHeight);
}

void StatementPdfLayout::TableCells(const QStringList& cells, bool bold, bool merged, double height)
{
    Ensure(height);
    if (m_painter) {
        m_painter->setFont(bold ? m_bold : m_text);
        double x = 0;
        for (int i = 0; i < cells.size() && i < int(m_widths.size()); ++i) {
            double width = m_widths[std::size_t(i)];
            if (merged && i == 1) {
                for (std::size_t k = 2; k < m_widths.size(); ++k)
                    width += m_widths[k];
            }
            const QRectF cell(x, m_y, width, height);
            m_painter->drawRect(cell);
            const Qt::Alignment align = height > m_rowHeight ? Qt::AlignHCenter
                : i == 0 || merged || i + 1 == cells.size()  ? Qt::AlignLeft
                                                             : Qt::AlignRight;
            m_painter->drawText(cell.adjusted(kPadding, 0, -kPadding, 0), align | Qt::AlignVCenter, cells[i]);
            x += width;
            if (merged && i == 1)
                break;
        }
    }
    m_y += height;
}

void StatementPdfLayout::TableHead(const StatementSection& section)
{
    // The unit under the name, so fourteen columns fit the width.
    QStringList heads{QStringLiteral("Дата")};
    for (const StatementColumn& column : section.columns)
        heads << column.head + QLatin1Char('\n') + column.unit;
    heads << QStringLiteral("НС");
    TableCells(heads, true, false, m_headHeight);
}

void StatementPdfLayout::Section(const StatementSection& section)
{
    Columns(section);
    Ensure(m_rowHeight * 8);
    m_y += m_rowHeight / 2;
    Line(section.name, m_bold);
    for (const QString& line : section.about)
        Line(line, m_text);
    TableHead(section);
    m_tableOf = &section;
    for (const StatementRow& row : section.rows) {
        QStringList cells{StatementDateText(m_statement.kind, row.date)};
        if (row.missing) {
            TableRow(cells << QString::fromUtf8(kNoDataText), false, true);
            continue;
        }
        for (std::size_t c = 0; c < section.columns.size(); ++c)
            cells << StatementNumber(row.values[c], section.columns[c].decimals);
        TableRow(cells << row.marks, false);
    }
    QStringList total{QString::fromUtf8(kTotalRowText)};
    for (std::size_t c = 0; c < section.columns.size(); ++c)
        total << StatementNumber(section.total[c], section.columns[c].decimals);
    TableRow(total << QString(), true);
    m_tableOf = nullptr;
    m_y += m_rowHeight / 2;
    const double width = m_area.width() / 8;
    m_widths.assign(5, width);
    m_widths.front() = width * 1.5;
    Ensure(m_rowHeight * 3);
    TableRow(IntegratorHeads(), true);
    for (const StatementIntegrator& line : section.integrators)
        TableRow(IntegratorCells(line) << QString(), false);
    m_y += m_rowHeight / 2;
    m_widths.assign(2, width);
    m_widths.front() = width * 1.5;
    for (const StatementLine& line : section.hours)
        TableRow({line.label, line.value, QString()}, false);
}
