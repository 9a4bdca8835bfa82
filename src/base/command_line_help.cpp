#include "base/command_line_help.h"

#include "zt5_version.h"

#include "base/bash_completion.h"
#include "base/man_page.h"

#include <algorithm>

namespace {

constexpr int kLineWidth = 100;

QString OptionUsage(const HelpOption& option)
{
    QString text = option.shortName ? QStringLiteral("-%1").arg(QLatin1Char(option.shortName)) : QString();
    if (!option.name.isEmpty())
        text += (text.isEmpty() ? QStringLiteral("    --") : QStringLiteral(", --")) + option.name;
    if (!option.valueName.isEmpty())
        text += QLatin1Char(' ') + option.valueName;
    return text;
}

// `text` broken into lines of at most kLineWidth columns, every line after the first indented by
// `indent` (the first starts where the caller left off, at that column).
QString Wrapped(const QString& text, int indent)
{
    QString result;
    int column = indent;
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (column > indent && column + 1 + word.size() > kLineWidth) {
            result += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            result += QLatin1Char(' ');
            ++column;
        }
        result += word;
        column += int(word.size());
    }
    return result;
}

}  // namespace

QString RenderHelpText(const CommandLineHelp& help)
{
    const QString start = QStringLiteral("%1 %2").arg(help.program, help.synopsis).trimmed();
    QString text = QStringLiteral("%1 - %2\n\nЗапуск: %3\n").arg(help.program, help.summary, start);
    for (const QString& paragraph : help.description.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        text += QLatin1Char('\n') + Wrapped(paragraph, 0) + QLatin1Char('\n');
    if (!help.commands.empty()) {
        text += QStringLiteral("\nКоманды:\n");
        for (const HelpCommand& command : help.commands) {
            const QString usage = command.usage.isEmpty() ? command.name
                                                          : command.name + QLatin1Char(' ') + command.usage;
            text += QStringLiteral("  %1\n      %2\n").arg(usage, Wrapped(command.help, 6));
        }
    }
    int width = 0;
    for (const HelpGroup& group : help.groups) {
        for (const HelpOption& option : group.options)
            width = std::max(width, int(OptionUsage(option).size()));
    }
    for (const HelpGroup& group : help.groups) {
        text += QStringLiteral("\n%1:\n").arg(group.title);
        for (const HelpOption& option : group.options)
            text += QStringLiteral("  %1  %2\n")
                        .arg(OptionUsage(option).leftJustified(width), Wrapped(option.help, width + 4));
    }
    if (!help.footer.isEmpty())
        text += QLatin1Char('\n') + Wrapped(help.footer, 0) + QLatin1Char('\n');
    return text;
}

QStringList ListedOptions(const CommandLineHelp& help)
{
    QStringList options;
    for (const HelpGroup& group : help.groups) {
        for (const HelpOption& option : group.options) {
            if (option.shortName)
                options << QStringLiteral("-%1").arg(QLatin1Char(option.shortName));
            if (!option.name.isEmpty())
                options << QStringLiteral("--") + option.name;
        }
    }
    return options;
}

std::optional<QString> GeneratedHelpDocument(const QStringList& arguments, const CommandLineHelp& help,
                                             const QString& version)
{
    if (arguments == QStringList{QStringLiteral("--help-man")}) {
        CommandLineHelp dated = help;
        if (dated.date.isEmpty())
            dated.date = QStringLiteral(ZT5_RELEASE_DATE);
        return RenderManPage(dated, version);
    }
    if (arguments == QStringList{QStringLiteral("--help-bash-completion")})
        return RenderBashCompletion(help);
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> SharedFilesHelp()
{
    return {
        {QStringLiteral("~/.config/zt5-configurator/settings.ini"),
         QStringLiteral("настройки программы; settings.ini рядом с программой, когда ее папка доступна для записи "
                        "(запуск из папки сборки), или файл из --settings")},
        {QStringLiteral("~/.local/share/zt5-configurator/"),
         QStringLiteral("рабочая папка; папка программы, когда она доступна для записи, папка из настроек "
                        "программы, или папка из --workdir (создается, если ее нет)")},
        {QStringLiteral("~/.local/share/zt5-configurator/Base/Objects.bin"), QStringLiteral("база узлов учета")},
        {QStringLiteral("~/.local/share/zt5-configurator/db/Data.sqlite"),
         QStringLiteral("база данных архивов, когда в настройках не выбрана база PostgreSQL")},
        {QStringLiteral("~/.pgpass"),
         QStringLiteral("пароли PostgreSQL, строками сервер:порт:база:пользователь:пароль; файл должен быть "
                        "доступен только владельцу (chmod 600)")},
    };
}

std::vector<std::pair<QString, QString>> SharedEnvironmentHelp()
{
    return {
        {QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("папка настроек вместо ~/.config")},
        {QStringLiteral("XDG_DATA_HOME"), QStringLiteral("папка данных вместо ~/.local/share")},
        {QStringLiteral("PGPASSWORD"),
         QStringLiteral("пароль PostgreSQL, когда его нет в строке подключения; в отличие от пароля в командной "
                        "строке, его не видно в списке процессов (ps)")},
        {QStringLiteral("PGPASSFILE"), QStringLiteral("файл паролей PostgreSQL вместо ~/.pgpass")},
        {QStringLiteral("LC_ALL, LC_NUMERIC, LANG"),
         QStringLiteral("десятичный разделитель чисел в CSV, когда он не задан явно: запятая для русского языка, "
                        "точка для английского")},
    };
}
