#pragma once
// The statement's pages as the PDF draws them: the title block, then each input's table with its head
// repeated at the top of every page, "Итого", the integrators, the hours, the legend and the signatures,
// and "Страница N из M" at the foot. Laid out twice: once without a painter to count the pages, then
// drawn.

#include "statement/statement_model.h"

#include <QFont>
#include <QRectF>

class QPainter;
class QPagedPaintDevice;

class StatementPdfLayout {
public:
    StatementPdfLayout(const Statement& statement, QPagedPaintDevice& device);
    // Lays out (and with a painter draws) every page; the number of pages.
    int Draw(QPainter* painter, int pageCount);

private:
    void NewPage();
    void Ensure(double height);
    void Line(const QString& text, const QFont& font);
    void Section(const StatementSection& section);
    void TableHead(const StatementSection& section);
    void TableRow(const QStringList& cells, bool bold, bool merged = false);
    void TableCells(const QStringList& cells, bool bold, bool merged, double height);
    void Columns(const StatementSection& section);
    void Footer();

    const Statement& m_statement;
    QPagedPaintDevice& m_device;
    QPainter* m_painter = nullptr;
    QRectF m_area;
    QFont m_text, m_bold, m_title;
    double m_rowHeight = 0;
    double m_headHeight = 0;
    double m_y = 0;
    int m_page = 0;
    int m_pageCount = 0;
    const StatementSection* m_tableOf = nullptr;  // the section whose table runs over the page break
    std::vector<double> m_widths;
};
