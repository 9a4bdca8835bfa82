#pragma once
// A program's options as one table: each row names an option, says what it does and takes its value.
// The same rows drive the parser and the help (and through the help the manual page and the completion
// script), so a new option cannot be parsed but unlisted, or listed but refused.

#include "base/command_line_help.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

template <class Options>
struct OptionRow {
    const char* name;       // without the leading "--"
    char shortName;         // 0 when there is none
    const char* valueName;  // null for a flag
    const char* group;      // the heading the help lists it under; rows of one group stand together
    const char* help;
    // Takes the value (empty for a flag) into the options; returns the error in words for the user, or
    // empty. A value missing at the end of the line arrives as a null string when the grammar lets the
    // option say what it wants itself.
    QString (*set)(Options&, const QString&);
    const char* choices = nullptr;  // the values of a choice, space-separated, for the completion script
};

// How a program reads the words of its line.
template <class Options>
struct OptionGrammar {
    // Takes a word that is no option (the command and its arguments). With it "--" ends the options and
    // "--name=value" gives a value in the same word; without it every word must be an option.
    void (*takeWord)(Options&, const QString&) = nullptr;
    const char* unknownOption = "неизвестный параметр %1";  // %1: the word
    // %1: the option as written, %2: the value's name. Null: the option's setter gets a null value.
    const char* missingValue = "после %1 нужно значение %2";
};

// One entry of the help, with what the completion offers after it.
HelpOption HelpOptionOf(char shortName, const char* name, const char* valueName, const char* help, const char* choices);

template <class Options>
std::vector<HelpGroup> HelpGroupsOf(std::span<const OptionRow<Options>> rows)
{
    std::vector<HelpGroup> groups;
    for (const OptionRow<Options>& row : rows) {
        const QString title = QString::fromUtf8(row.group);
        if (groups.empty() || groups.back().title != title)
            groups.push_back({title, {}});
        groups.back().options.push_back(HelpOptionOf(row.shortName, row.name, row.valueName, row.help, row.choices));
    }
    return groups;
}

// Reads `arguments` (without the program's name) into `options`, in order; stops at the first error and
// returns it in words for the user, or empty.
template <class Options>
QString ParseOptionWords(const QStringList& arguments, std::span<const OptionRow<Options>> rows,
                         const OptionGrammar<Options>& grammar, Options& options)
{
    const auto find = [&](auto matches) -> const OptionRow<Options>* {
        for (const OptionRow<Options>& row : rows) {
            if (matches(row))
                return &row;
        }
        return nullptr;
    };
    const auto shortRow = [&](QChar letter) {
        return find(
            [&](const OptionRow<Options>& r) { return r.shortName != 0 && letter == QLatin1Char(r.shortName); });
    };
    QStringList words = arguments;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString word = words.at(i);
        // Short flags written together ("-vv", "-qy") stand for one word each; only the last letter may
        // take a value, from the next word.
        if (!optionsEnded && word.size() > 2 && word.startsWith(QLatin1Char('-')) && word.at(1) != QLatin1Char('-')
            && !word.at(1).isDigit()) {
            QStringList letters;
            for (qsizetype k = 1; k < word.size(); ++k) {
                const OptionRow<Options>* letter = shortRow(word.at(k));
                if (!letter)
                    return QString::fromUtf8(grammar.unknownOption)
                        .arg(QStringLiteral("-%1 (в %2)").arg(word.at(k)).arg(word));
                if (letter->valueName && k + 1 < word.size())
                    return QStringLiteral("-%1 ждет значение %2 отдельным словом (в %3)")
                        .arg(word.at(k))
                        .arg(QString::fromUtf8(letter->valueName), word);
                letters << QStringLiteral("-%1").arg(word.at(k));
            }
            words.removeAt(i);
            for (qsizetype k = 0; k < letters.size(); ++k)
                words.insert(i + k, letters.at(k));
            --i;
            continue;
        }
        const OptionRow<Options>* row = nullptr;
        QString value;
        bool inlineValue = false;
        if (grammar.takeWord && !optionsEnded && word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && word.startsWith(QLatin1String("--"))) {
            const qsizetype equals = grammar.takeWord ? word.indexOf(QLatin1Char('=')) : -1;
            const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
            row = find([&](const OptionRow<Options>& r) { return name == QLatin1String(r.name); });
            if (equals >= 0) {
                value = word.mid(equals + 1);
                inlineValue = true;
            }
        } else if (!optionsEnded && word.size() == 2 && word.startsWith(QLatin1Char('-')) && word != QLatin1String("-")
                   && !word.at(1).isDigit()) {
            row = shortRow(word.at(1));
        } else if (grammar.takeWord) {
            grammar.takeWord(options, word);
            continue;
        }
        if (!row)
            return QString::fromUtf8(grammar.unknownOption).arg(word);
        if (row->valueName && !inlineValue) {
            if (i + 1 < words.size()) {
                value = words.at(++i);
                if (value.isNull())  // null means "missing" to the setter
                    value = QLatin1String("");
            } else if (grammar.missingValue) {
                return QString::fromUtf8(grammar.missingValue).arg(word, QString::fromUtf8(row->valueName));
            }
        } else if (!row->valueName && inlineValue) {
            return QStringLiteral("параметр --%1 не принимает значения").arg(QLatin1String(row->name));
        }
        const QString error = row->set(options, value);
        if (!error.isEmpty())
            return error;
    }
    return {};
}
