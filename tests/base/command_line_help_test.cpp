#include "base/bash_completion.h"
#include "base/command_line_help.h"
#include "base/man_page.h"

#include <gtest/gtest.h>
#include <QRegularExpression>

namespace {

CommandLineHelp Sample()
{
    CommandLineHelp help;
    help.program = QStringLiteral("prog");
    help.summary = QStringLiteral("пример");
    help.synopsis = QStringLiteral("[ПАРАМЕТРЫ] КОМАНДА");
    help.description = QStringLiteral("Первый абзац.\n\n.Второй абзац с точкой в начале.");
    help.commands = {{QStringLiteral("read"), QStringLiteral("ФАЙЛ"), QStringLiteral("прочитать"), {}, true, {}, {}},
                     {QStringLiteral("log"),
                      QStringLiteral("a|b"),
                      QStringLiteral("журнал"),
                      {QStringLiteral("a"), QStringLiteral("b")},
                      false,
                      {},
                      {}}};
    const QString longHelp = QStringLiteral("слово ").repeated(40).trimmed();
    help.groups = {{QStringLiteral("Канал"),
                    {{0,
                      QStringLiteral("path"),
                      QStringLiteral("ПУТЬ"),
                      QStringLiteral("путь C:\\dev\\x"),
                      HelpValueKind::kFile,
                      {},
                      {}},
                     {'v', QStringLiteral("verbose"), {}, longHelp, HelpValueKind::kNone, {}, {}},
                     {0,
                      QStringLiteral("mode"),
                      QStringLiteral("ВИД"),
                      QStringLiteral("'режим"),
                      HelpValueKind::kChoice,
                      {QStringLiteral("on"), QStringLiteral("it's")},
                      {}}}}};
    help.footer = QStringLiteral("Коды завершения: 0, 1, 2.");
    help.seeAlso = {QStringLiteral("other(1)")};
    return help;
}

TEST(CommandLineHelp, TextListsEverythingAndWrapsLongLines)
{
    const QString text = RenderHelpText(Sample());
    EXPECT_TRUE(text.startsWith(QStringLiteral("prog - пример\n\nЗапуск: prog [ПАРАМЕТРЫ] КОМАНДА\n")));
    for (const char* expected : {"  read ФАЙЛ\n      прочитать\n", "\nКанал:\n", "      --path ПУТЬ", "  -v, --verbose",
                                 "      --mode ВИД   'режим\n", "Коды завершения: 0, 1, 2.\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    int words = 0;
    for (const QString& line : text.split(u'\n')) {
        EXPECT_LE(line.size(), 100) << line.toStdString();
        words += int(line.count(QStringLiteral("слово")));
    }
    EXPECT_EQ(words, 40);
    EXPECT_EQ(ListedOptions(Sample()), (QStringList{"--path", "-v", "--verbose", "--mode"}));
}

TEST(CommandLineHelp, ManualPageEscapesWhatGroffWouldTakeAsMarkup)
{
    const QString man = RenderManPage(Sample(), QStringLiteral("1.2.3"));
    EXPECT_TRUE(man.contains(QStringLiteral(".TH PROG 1 \"\" \"prog 1.2.3\"")));
    // A line of text starting with a dot or a quote would be read as a request and vanish.
    EXPECT_TRUE(man.contains(QStringLiteral("\n\\&.Второй абзац")));
    EXPECT_TRUE(man.contains(QStringLiteral("\n\\&'режим\n")));
    EXPECT_TRUE(man.contains(QStringLiteral("путь C:\\edev\\ex")));
    EXPECT_TRUE(man.contains(QStringLiteral("\\fB\\-v\\fR, \\fB\\-\\-verbose\\fR")));
    EXPECT_TRUE(man.contains(QStringLiteral("\\fB\\-\\-path\\fR \\fIПУТЬ\\fR")));
    EXPECT_TRUE(man.contains(QStringLiteral(".SH СМ. ТАКЖЕ\n.BR other (1)\n")));
    // Every line that is not a request or a comment is plain text, with no stray unescaped hyphen.
    static const QRegularExpression bareHyphen(QStringLiteral("(^|[^\\\\])-"));
    for (const QString& line : man.split(u'\n')) {
        if (!line.startsWith(u'.')) {
            EXPECT_FALSE(bareHyphen.match(line).hasMatch()) << line.toStdString();
        }
    }
}

TEST(CommandLineHelp, CompletionQuotesChoicesAndKnowsFiles)
{
    const QString script = RenderBashCompletion(Sample());
    EXPECT_TRUE(script.contains(QStringLiteral("complete -F _prog prog\n")));
    EXPECT_TRUE(
        script.contains(QStringLiteral("--mode) mapfile -t COMPREPLY < <(compgen -W 'on it'\\''s' -- \"$cur\")")));
    EXPECT_TRUE(script.contains(QStringLiteral("--path) mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")")));
    EXPECT_TRUE(
        script.contains(QStringLiteral("log) (( i + 1 == cword )) && mapfile -t COMPREPLY < <(compgen -W 'a b'")));
    EXPECT_TRUE(script.contains(QStringLiteral("read) mapfile -t COMPREPLY < <(compgen -f")));
    // The words after an option with a value are not taken for the command, nor "=" and the value after it.
    EXPECT_TRUE(script.contains(QStringLiteral("--path|--mode) [[ ${words[i+1]} == = ]] && (( i++ )); (( i++ )) ;;")));
}

TEST(CommandLineHelp, OnlyTheExactHiddenOptionsGiveADocument)
{
    const CommandLineHelp help = Sample();
    EXPECT_TRUE(GeneratedHelpDocument({QStringLiteral("--help-man")}, help, QStringLiteral("1")).has_value());
    EXPECT_TRUE(
        GeneratedHelpDocument({QStringLiteral("--help-bash-completion")}, help, QStringLiteral("1")).has_value());
    EXPECT_FALSE(GeneratedHelpDocument({QStringLiteral("--help")}, help, QStringLiteral("1")).has_value());
    EXPECT_FALSE(GeneratedHelpDocument({QStringLiteral("--help-man"), QStringLiteral("x")}, help, QStringLiteral("1"))
                     .has_value());
}

}  // namespace
