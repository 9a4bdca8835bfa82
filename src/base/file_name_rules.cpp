#include "base/file_name_rules.h"

#include <algorithm>

qsizetype LastPathSeparator(const QString& name)
{
    return std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
}

QString WithSingleExtension(const QString& name, const QString& extension)
{
    const qsizetype fileStart = LastPathSeparator(name) + 1;
    const QString suffix = QLatin1Char('.') + extension;
    QString file = name.mid(fileStart);
    file.remove(suffix);
    return name.left(fileStart) + file + suffix;
}

QString WithKnownExtension(const QString& name, const QStringList& extensions)
{
    const QString file = name.mid(LastPathSeparator(name) + 1);
    for (const QString& extension : extensions) {
        if (file.size() > extension.size() + 1 && file.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
            return name;
    }
    return extensions.isEmpty() ? name : WithSingleExtension(name, extensions.constFirst());
}
