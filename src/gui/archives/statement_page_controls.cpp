#include "gui/archives/statement_page_controls.h"

#include "gui/archives/named_controls.h"
#include "gui/widgets/typed_date_filter.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QDateEdit* DayField(const char* name)
{
    auto* field = Named(new QDateEdit, name);
    field->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    field->setCalendarPopup(true);
    // The meter keeps the year as an offset from 2000 in one byte.
    field->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    InstallTypedDateFilter(field);
    return field;
}

QLabel* TextLine(const char* name)
{
    auto* line = Named(new QLabel, name);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->setWordWrap(true);
    return line;
}

}  // namespace

StatementPageControls BuildStatementPageControls(QWidget* page)
{
    StatementPageControls c;
    c.input = Named(new QComboBox, "statementInput");
    c.input->addItems({QStringLiteral("Все вводы"), QStringLiteral("ТВ1"), QStringLiteral("ТВ2")});
    c.archive = Named(new QComboBox, "statementArchive");
    c.archive->addItems({QStringLiteral("суточная"), QStringLiteral("часовая")});
    c.from = DayField("statementFrom");
    c.to = DayField("statementTo");
    c.serial = Named(new QLineEdit, "statementSerial");
    // A serial number is a 32-bit count: at most ten digits.
    c.serial->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), c.serial));
    c.serial->setMaximumWidth(c.serial->fontMetrics().horizontalAdvance(u'0') * 14);
    c.make = Button("Сформировать", "statementMake");
    c.stop = Button("Стоп", "statementStop");
    c.show = Button("Показать", "statementShow");
    c.save = Button("Сохранить...", "statementSave");
    c.progress = Named(new QProgressBar, "statementProgress");
    c.progress->setFormat(QStringLiteral("%v из %m записей"));
    c.progress->hide();
    c.result = TextLine("statementResult");
    c.missing = TextLine("statementMissing");

    auto* choice = new QHBoxLayout;
    AddLabelled(choice, "Ввод:", c.input);
    AddLabelled(choice, "Ведомость:", c.archive);
    AddLabelled(choice, "С:", c.from);
    AddLabelled(choice, "По:", c.to);
    AddLabelled(choice, "Зав. N:", c.serial);
    choice->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.make);
    buttons->addWidget(c.stop);
    buttons->addWidget(c.show);
    buttons->addWidget(c.save);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choice);
    layout->addLayout(buttons);
    layout->addWidget(c.progress);
    layout->addWidget(c.result);
    layout->addWidget(c.missing);
    layout->addStretch(1);
    return c;
}
