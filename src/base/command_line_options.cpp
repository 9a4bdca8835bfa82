#include "base/command_line_options.h"

namespace {

// What the completion offers after the option, told by the value's name: a path or a file name gets
// files, a folder gets folders.
HelpValueKind ValueKind(const char* valueName, const char* choices)
{
    if (!valueName)
        return HelpValueKind::kNone;
    if (choices)
        return HelpValueKind::kChoice;
    const QString value = QString::fromUtf8(valueName);
    if (value == QStringLiteral("ПУТЬ") || value == QStringLiteral("ФАЙЛ") || value.endsWith(QLatin1String("PATH")))
        return HelpValueKind::kFile;
    if (value == QStringLiteral("КАТАЛОГ"))
        return HelpValueKind::kFolder;
    return HelpValueKind::kText;
}

}  // namespace

HelpOption HelpOptionOf(char shortName, const char* name, const char* valueName, const char* help, const char* choices)
{
    HelpOption option{shortName,
                      QString::fromUtf8(name),
                      QString::fromUtf8(valueName),
                      QString::fromUtf8(help),
                      ValueKind(valueName, choices),
                      {},
                      {}};
    if (choices)
        option.choices = QString::fromUtf8(choices).split(QLatin1Char(' '));
    return option;
}
