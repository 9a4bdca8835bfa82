#include "gui/archives/trend_files.h"

#include "gui/widgets/page_host.h"
#include "reports/text_file.h"

#include <QBuffer>
#include <QPixmap>
#include <QWidget>

namespace {

// The core's file writer reports to a sink; the page's messages go through its host.
class HostSink final : public MessageSink {
public:
    explicit HostSink(PageHost& host) : m_host(host) {}
    void ShowMessage(const UserMessage& message) override
    {
        m_host.ShowMessage(message.text, message.caption, message.style);
    }

private:
    PageHost& m_host;
};

}  // namespace

QByteArray WidgetPng(QWidget* widget)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!widget->grab().save(&buffer, "PNG"))
        return {};
    return bytes;
}

bool WriteTrendFile(PageHost& host, const QString& path, const QByteArray& bytes, const char* doing)
{
    HostSink sink(host);
    return WriteWholeFile(path, bytes, &sink, doing);
}
