#include "gui/archives/archive_page_controls.h"

#include "archives/archive_read_plan.h"
#include "archives/descriptor_rows.h"
#include "gui/archives/export_progress_view.h"
#include "gui/archives/named_controls.h"
#include "gui/widgets/driver_progress_texts.h"
#include "gui/widgets/line_edit_filter.h"
#include "gui/widgets/typed_date_filter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDescriptorWidths[] = {70, 140, 140, 60, 60, 60, 60};
constexpr int kDescriptorRows = 9;  // four archives, the reset date, an empty row, three event logs
constexpr int kReportPointSize = 8;

QLineEdit* Field(const char* name, int width)
{
    auto* field = Named(new QLineEdit, name);
    field->setFixedWidth(width);
    return field;
}

// A field of whole numbers: a letter typed there would otherwise be read as a number all the same.
QLineEdit* DigitsField(const char* name, int width)
{
    QLineEdit* field = Field(name, width);
    InstallNumberRule(field, NumericFieldRule{false, 0, kPageFieldDigits});
    return field;
}

}  // namespace

void FitDescriptorColumns(QTableWidget* list)
{
    list->resizeColumnsToContents();
    for (int column = 0; column < list->columnCount(); ++column) {
        const int header = list->horizontalHeader()->sectionSizeHint(column);
        list->setColumnWidth(column, std::max({list->columnWidth(column), header, kDescriptorWidths[column]}));
    }
}

namespace {

QTableWidget* DescriptorList()
{
    const QStringList titles = DescriptorColumnTitles();
    auto* list = Named(new QTableWidget(kDescriptorRows, int(titles.size())), "descriptorList");
    list->setHorizontalHeaderLabels(titles);
    FitDescriptorColumns(list);
    list->verticalHeader()->hide();
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setWordWrap(false);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    // Every row in view, whatever the page's height: the list keeps its own.
    const int rowsHeight = kDescriptorRows * list->verticalHeader()->defaultSectionSize();
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list->setFixedHeight(rowsHeight + list->horizontalHeader()->sizeHint().height() + 2 * list->frameWidth()
                         + scrollBar);
    return list;
}

// "Courier New" where it is installed, the system's fixed-pitch font otherwise.
QFont ReportFont()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
        ? QFont(QStringLiteral("Courier New"))
        : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kReportPointSize);
    return font;
}

QComboBox* HourChoice()
{
    auto* hours = Named(new QComboBox, "hourChoice");
    for (int hour = 0; hour < 24; ++hour)
        hours->addItem(QString::asprintf("%.2d", hour));
    return hours;
}

QDateEdit* DatePicker()
{
    auto* date = Named(new QDateEdit, "datePicker");
    date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    date->setCalendarPopup(true);
    // What the archive's year byte can hold (0xFF marks an empty date).
    date->setDateRange(QDate(kBaseYear, 1, 1), QDate(kBaseYear + 0xFE, 12, 31));
    InstallTypedDateFilter(date);
    return date;
}

}  // namespace

ArchivePageControls BuildArchivePageControls(QWidget* page)
{
    ArchivePageControls c;
    c.readInfo = Button("Прочитать информацию об архивах", "readInfoButton");
    c.flashPage = DigitsField("flashPageField", 60);
    c.readFlash = Button("Прочитать flash", "readFlashButton");
    c.exportAll = Button("Весь архив", "exportButton");
    c.exportProgress = Named(new ExportProgressView, "exportProgress");
    c.descriptors = DescriptorList();
    c.dataType = Named(new QComboBox, "dataTypeChoice");
    c.dataType->addItems(ArchiveDataTypeNames());
    c.date = DatePicker();
    c.hour = HourChoice();
    c.record = Field("recordField", 60);
    c.count = Field("countField", 40);
    c.read = Button("Прочитать", "readButton");
    c.previous = Button("Предыдущая", "previousButton");
    c.next = Button("Следующая", "nextButton");
    c.periodic = Named(new QCheckBox(QStringLiteral("Период чтения (сек.):")), "periodicCheck");
    c.period = DigitsField("periodField", 50);
    c.stop = Button("Стоп", "stopReadButton");
    c.report = Named(new QTextEdit, "reportBox");
    c.report->setReadOnly(true);
    c.report->setLineWrapMode(QTextEdit::NoWrap);
    c.report->setFont(ReportFont());
    c.texts = Named(new DriverProgressTexts, "archiveTexts");

    auto* top = new QHBoxLayout;
    top->addWidget(c.readInfo);
    top->addWidget(new QLabel(QStringLiteral("Страница flash-памяти:")));
    top->addWidget(c.flashPage);
    top->addWidget(c.readFlash);
    top->addWidget(c.exportAll);
    top->addStretch(1);

    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("Тип данных:")));
    choice->addWidget(c.dataType);
    choice->addWidget(new QLabel(QStringLiteral("Дата:")));
    choice->addWidget(c.date);
    choice->addWidget(new QLabel(QStringLiteral("Час:")));
    choice->addWidget(c.hour);
    choice->addWidget(new QLabel(QStringLiteral("Зап.N:")));
    choice->addWidget(c.record);
    choice->addWidget(new QLabel(QStringLiteral("Кол-во:")));
    choice->addWidget(c.count);
    choice->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.read);
    buttons->addWidget(c.previous);
    buttons->addWidget(c.next);
    buttons->addSpacing(20);
    buttons->addWidget(c.periodic);
    buttons->addWidget(c.period);
    buttons->addWidget(c.stop);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(c.exportProgress);
    layout->addWidget(c.descriptors);
    layout->addLayout(choice);
    layout->addLayout(buttons);
    layout->addWidget(c.report, 1);
    layout->addWidget(c.texts);
    return c;
}
