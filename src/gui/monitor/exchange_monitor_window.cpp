#include "gui/monitor/exchange_monitor_window.h"

#include "base/file_name_rules.h"
#include "base/setting_value.h"
#include "base/settings_sections.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/save_file_dialog.h"
#include "reports/text_file.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QString kTextExtension = QStringLiteral("txt");

QFont MonitorFont()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
        ? QFont(QStringLiteral("Courier New"))
        : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    return font;
}

}  // namespace

ExchangeMonitorWindow::ExchangeMonitorWindow(SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent),
      m_settings(settings),
      m_text(new QPlainTextEdit(this)),
      m_placement(new WindowPlacementKeeper(this, settings, QStringLiteral("IoMonitor"),
                                            WindowPlacementKeeper::WhenMaximised::Store))
{
    setWindowTitle(QStringLiteral("Монитор обменов"));
    m_text->setReadOnly(true);
    m_text->setFont(MonitorFont());
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setUndoRedoEnabled(false);
    // The lines end in CR LF, so the document always ends in one empty block after the last line.
    m_text->setMaximumBlockCount(kLineLimit + 1);
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_text);
    setCentralWidget(area);

    QMenu* operations = menuBar()->addMenu(QStringLiteral("Операции"));
    operations->addAction(QStringLiteral("Очистить содержимое"), this, &ExchangeMonitorWindow::Clear);
    operations->addAction(QStringLiteral("Сохранить содержимое как..."), this, &ExchangeMonitorWindow::SaveAs);

    resize(640, 400);
    m_placement->Restore();
}

void ExchangeMonitorWindow::Append(const QString& text)
{
    // The document keeps lines as blocks: CR LF (or a lone CR or LF) ends one, nothing else shows.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor(m_text->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines);
    QScrollBar* bar = m_text->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void ExchangeMonitorWindow::Clear()
{
    m_text->clear();
}

void ExchangeMonitorWindow::SaveAs()
{
    const QString chosen = ChooseSaveFile(this, QStringLiteral("Сохранить..."), QString(),
                                          QStringLiteral("Текстовые файлы (*.txt)"));
    if (!chosen.isEmpty())
        SaveTo(chosen);
}

bool ExchangeMonitorWindow::SaveTo(const QString& chosenPath)
{
    if (LastPathSeparator(chosenPath) < 0) {
        // A bare name has no folder to go to.
        ShowMessageBox(
            this,
            {QStringLiteral("Ошибка выполнения!"), QString::fromUtf8(kCaptionError), MessageStyle::kIconInformation});
        return false;
    }
    WindowMessageSink sink(this);
    return gWriteTxtFile(WithSingleExtension(chosenPath, kTextExtension), Text(), &sink);
}

QString ExchangeMonitorWindow::Text() const
{
    // The raw text keeps every character as it came (the plain text would turn no-break spaces into spaces).
    QString text = m_text->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

int ExchangeMonitorWindow::LineCount() const
{
    // The empty block after the last line end is not a line.
    const QTextDocument* document = m_text->document();
    const int blocks = document->blockCount();
    return document->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

void ExchangeMonitorWindow::closeEvent(QCloseEvent* event)
{
    SettingsSection(m_settings, SettingsSections::kIoMonitor).Value(QStringLiteral("Show"), 0).Set(0);
    QMainWindow::closeEvent(event);
}
