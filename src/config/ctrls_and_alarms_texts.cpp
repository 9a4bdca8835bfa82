#include "config/ctrls_and_alarms_texts.h"

#include "config/config_texts.h"

namespace {

constexpr unsigned kPipeNumbers = kInputCount * kPipeCount;
constexpr int kComPorts = 2;
constexpr int kEventsPerGroup = 6;  // three pipes of each of the two inputs

QString PipeNumberText(unsigned number)
{
    return QString::asprintf("ТВ%u Труба %u", number / kPipeCount + 1, number % kPipeCount + 1);
}

unsigned NumberCount(unsigned kind)
{
    switch (kind) {
        case kControlPipe:
            return kPipeNumbers;
        case kControlInput:
            return kInputCount;
        case kControlExtra:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

QStringList ControlListColumns()
{
    return {QStringLiteral("№"),        QStringLiteral("Контролируемый элемент"), QStringLiteral("Номер"),
            QStringLiteral("Параметр"), QStringLiteral("Мин.значение"),           QStringLiteral("Макс.значение")};
}

QStringList ControlRowTexts(const ControlEntry& control, int index)
{
    const unsigned kind = control.Kind();
    QStringList cells{QString::number(index + 1), TextOf(kControlKindTexts, kind)};
    if (kind == kControlUnused || kind >= std::size(kControlParameterTexts)) {
        while (cells.size() < ControlListColumns().size())
            cells << QString();
        return cells;
    }
    cells << ControlNumberText(kind, control.Number()) << TextOf(kControlParameterTexts[kind], control.Parameter())
          << ControlLimitText(control.minimum) << ControlLimitText(control.maximum);
    return cells;
}

QStringList ControlNumberChoices(unsigned kind)
{
    QStringList choices;
    for (unsigned number = 0; number < NumberCount(kind); ++number)
        choices << ControlNumberText(kind, number);
    return choices;
}

QStringList ControlParameterChoices(unsigned kind)
{
    QStringList choices;
    if (kind == kControlUnused || kind >= std::size(kControlParameterTexts))
        return choices;
    for (const ValueText& entry : kControlParameterTexts[kind])
        choices << QString::fromUtf8(entry.text);
    return choices;
}

QString ControlNumberText(unsigned kind, unsigned number)
{
    if (number >= NumberCount(kind))
        return QString();
    return kind == kControlPipe ? PipeNumberText(number) : QString::number(number + 1);
}

QString ControlLimitText(float value)
{
    return QString::asprintf("%.3f", double(value));
}

QString AlarmTabTitle(int tab)
{
    return QString::asprintf("COM%d - Сервер №%d", tab / kComPorts + 1, tab % kComPorts + 1);
}

QStringList AlarmListColumns()
{
    return {QStringLiteral("№"), QStringLiteral("Название")};
}

QString AlarmEventName(int row)
{
    if (row < 1 || row > kAlarmEventCount)
        return QString();
    if (row <= 3 * kEventsPerGroup) {
        static const char* const kFaults[] = {"t", "P", "G"};
        const int inGroup = (row - 1) % kEventsPerGroup;
        return QString::asprintf("ТВ%d Труба %d, НС по %s", inGroup / kPipeCount + 1, inGroup % kPipeCount + 1,
                                 kFaults[(row - 1) / kEventsPerGroup]);
    }
    if (row <= 20)
        return QString::asprintf("ТВ%d НС", row - 18);
    if (row == 21)
        return QStringLiteral("ДП1 НС");
    return QString::asprintf("Контроль %d", row - 21);
}
