#include "reports/report_save.h"

#include <QFile>

#include "base/file_name_rules.h"
#include "reports/text_file.h"

QString ReportSaveFilter()
{
    return QStringLiteral("Отчеты (*.%1)").arg(QLatin1String(kReportExtension));
}

QString ReportSaveName(const QString& chosen)
{
    return WithSingleExtension(chosen, QLatin1String(kReportExtension));
}

bool SaveReportCopy(const QString& shownFile, const QString& target, MessageSink* owner)
{
    QFile source(shownFile);
    QByteArray bytes;
    if (source.open(QIODevice::ReadOnly))
        bytes = source.readAll();
    if (!source.isOpen() || source.error() != QFileDevice::NoError) {
        if (owner)
            owner->ShowMessage(
                UserMessage::Information(FileFailureText("прочитать отчет", shownFile, source.errorString())));
        return false;
    }
    return WriteWholeFile(target, bytes, owner, "записать копию отчета");
}

void SavingReportViewer::ShowReport(const QString& file, const QString&)
{
    m_saved = SaveReportCopy(file, m_target, this);
}
