#include "archives/ui/trend_files.h"

#include "app/ui/page_host.h"
#include "archives/archive_read_plan.h"
#include "reports/text_file.h"

#include <QBuffer>
#include <QPixmap>
#include <QWidget>

namespace {

QString DayText(const TChronoArch& date)
{
    return QString::asprintf("%02d.%02d.%04d", date.day, date.month, date.year + kBaseYear);
}

QString ArchiveName(const ArchiveRange& range)
{
    return ArchiveDataTypeNames().value(range.kind) + QStringLiteral(" архив");
}

// The core's file writer reports to a sink; the page's messages go through its host.
class HostSink final : public MessageSink {
public:
    explicit HostSink(PageHost& host) : m_host(host) {}
    void ShowMessage(const UserMessage& message) override { m_host.ShowMessage(message.text, message.caption, message.style); }

private:
    PageHost& m_host;
};

}  // namespace

QString TrendTableTitle(const ArchiveRange& range, std::uint32_t serial)
{
    return QStringLiteral("%1, зав.N %2, %3 - %4").arg(ArchiveName(range)).arg(serial).arg(DayText(range.from),
                                                                                            DayText(range.to));
}

QString TrendFileName(const ArchiveRange& range, std::uint32_t serial)
{
    return QStringLiteral("%1 %2 %3-%4").arg(ArchiveName(range)).arg(serial).arg(DayText(range.from), DayText(range.to));
}

QByteArray WidgetPng(QWidget* widget)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!widget->grab().save(&buffer, "PNG"))
        return {};
    return bytes;
}

bool WriteTrendFile(PageHost& host, const QString& path, const QByteArray& bytes, const char* function)
{
    HostSink sink(host);
    return WriteWholeFile(path, bytes, &sink, function);
}
