#include "app/file_name_rules.h"

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
