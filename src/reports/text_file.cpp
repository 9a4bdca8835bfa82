#include "reports/text_file.h"

#include "base/atomic_file.h"
#include "base/text_codec.h"

QString FileFailureText(const char* doing, const QString& path, const QString& error)
{
    return QStringLiteral("Не удалось %1 \"%2\": %3").arg(QString::fromUtf8(doing), path, error);
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, MessageSink* owner, const char* doing)
{
    QString error;
    if (ReplaceFileContents(path, bytes, &error))
        return true;
    if (owner)
        owner->ShowMessage(UserMessage::Information(FileFailureText(doing, path, error)));
    return false;
}

bool gWriteTxtFile(const QString& path, const QString& text, MessageSink* owner)
{
    return WriteWholeFile(path, EncodeWindows1251(text), owner, "записать файл");
}
