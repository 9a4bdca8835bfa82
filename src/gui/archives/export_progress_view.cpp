#include "gui/archives/export_progress_view.h"
#include "gui/archives/bar_value.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <limits>

ExportProgressView::ExportProgressView(QWidget* parent) : QWidget(parent), m_bar(new QProgressBar), m_text(new QLabel)
{
    m_bar->setObjectName(QStringLiteral("exportProgressBar"));
    m_text->setObjectName(QStringLiteral("exportProgressText"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar, 1);
    layout->addWidget(m_text, 2);
    hide();
}

void ExportProgressView::Start()
{
    m_running = true;
    // Busy until the descriptors tell how many records there are.
    m_bar->setRange(0, 0);
    m_bar->show();
    m_text->setText(QStringLiteral("Весь архив: чтение сведений об архивах..."));
    show();
}

void ExportProgressView::ShowProgress(qint64 done, qint64 total)
{
    m_bar->setRange(0, BarValue(total));
    m_bar->setValue(BarValue(done));
    m_text->setText(QStringLiteral("Весь архив: %1 из %2 записей").arg(done).arg(total));
}

void ExportProgressView::Finish(bool succeeded, qint64 total, const QString& countsText)
{
    m_running = false;
    if (succeeded) {
        m_bar->setRange(0, std::max(BarValue(total), 1));
        m_bar->setValue(m_bar->maximum());
    } else {
        m_bar->hide();
    }
    const QString head = succeeded ? QStringLiteral("Весь архив в базе данных.")
                                   : QStringLiteral("Весь архив: выгрузка не завершена.");
    m_text->setText(head + QLatin1Char('\n') + countsText);
    show();
}

QString ExportProgressView::Text() const
{
    return m_text->text();
}
