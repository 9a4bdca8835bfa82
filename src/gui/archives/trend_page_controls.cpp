#include "gui/archives/trend_page_controls.h"

#include "archives/archive_read_plan.h"
#include "gui/archives/named_controls.h"
#include "gui/archives/trend_chart_view.h"
#include "gui/archives/trend_quantity_list.h"
#include "gui/widgets/typed_date_filter.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr int kValueArchives = 3;  // hourly, daily, monthly: the archives with values over time
constexpr int kQuantityListWidth = 170;

QDateTimeEdit* DateField(const char* name)
{
    auto* field = Named(new QDateTimeEdit, name);
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy hh:00"));
    field->setCalendarPopup(true);
    // The meter keeps the year as an offset from 2000 in one byte; records before 2000 do not exist.
    field->setDateTimeRange(QDateTime(QDate(2000, 1, 1), QTime(0, 0)), QDateTime(QDate(2099, 12, 31), QTime(23, 0)));
    InstallTypedDateFilter(field);
    return field;
}

}  // namespace

TrendPageControls BuildTrendPageControls(QWidget* page)
{
    TrendPageControls c;
    c.archive = Named(new QComboBox, "trendArchive");
    c.archive->addItems(ArchiveDataTypeNames().mid(0, kValueArchives));
    c.from = DateField("trendFrom");
    c.to = DateField("trendTo");
    c.plot = Button("Построить", "trendPlot");
    c.stop = Button("Стоп", "trendStop");
    c.progress = Named(new QProgressBar, "trendProgress");
    c.progress->setFormat(QStringLiteral("%v из %m записей"));
    c.progress->hide();
    c.result = Named(new QLabel, "trendResult");
    c.result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    c.quantities = Named(new TrendQuantityList, "trendQuantities");
    c.quantities->setMinimumWidth(kQuantityListWidth);
    c.quantities->setMaximumWidth(kQuantityListWidth * 3 / 2);
    c.chart = Named(new TrendChartView, "trendChart");
    c.savePng = Button("Сохранить PNG...", "trendSavePng");
    c.exportCsv = Button("Экспорт CSV...", "trendExportCsv");
    c.exportHtml = Button("Экспорт HTML...", "trendExportHtml");
    c.resetZoom = Button("Сбросить масштаб", "trendResetZoom");

    auto* range = new QHBoxLayout;
    AddLabelled(range, "Архив:", c.archive);
    AddLabelled(range, "С:", c.from);
    AddLabelled(range, "По:", c.to);
    range->addWidget(c.plot);
    range->addWidget(c.stop);
    range->addStretch(1);

    auto* state = new QHBoxLayout;
    state->addWidget(c.progress, 1);
    state->addWidget(c.result, 2);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(c.quantities);
    split->addWidget(c.chart);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({kQuantityListWidth, 4 * kQuantityListWidth});

    auto* files = new QHBoxLayout;
    files->addWidget(c.savePng);
    files->addWidget(c.exportCsv);
    files->addWidget(c.exportHtml);
    files->addStretch(1);
    files->addWidget(c.resetZoom);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(range);
    layout->addLayout(state);
    layout->addWidget(split, 1);
    layout->addLayout(files);
    return c;
}
