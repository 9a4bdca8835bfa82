#include "reports/text_file.h"

#include "base/atomic_file.h"
#include "base/text_codec.h"

bool WriteWholeFile(const QString& path, const QByteArray& bytes, MessageSink* owner, const char* function)
{
    QString error;
    if (ReplaceFileContents(path, bytes, &error))
        return true;
    if (owner)
        owner->ShowMessage(
            UserMessage::Information(QStringLiteral("%1 (%2 - %3)").arg(error, QString::fromUtf8(function), path)));
    return false;
}

bool gWriteTxtFile(const QString& path, const QString& text, MessageSink* owner)
{
    return WriteWholeFile(path, EncodeWindows1251(text), owner, "gWriteTxtFile (1)");
}
