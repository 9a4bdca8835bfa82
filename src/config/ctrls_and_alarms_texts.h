#pragma once
// The texts of the controls-and-alarms page: the rows of the four limit controls, the choices of their
// editors, the alarm tabs and the names of the 25 alarm events (row n is bit n - 1 of an entry's mask).

#include "config/device_blocks.h"

#include <QString>
#include <QStringList>

// Column heads of the control list.
QStringList ControlListColumns();
// The cells of control `index` (from 0): its number, element, element number, parameter and limits;
// an unused control shows only its number and "Не используется".
QStringList ControlRowTexts(const ControlEntry& control, int index);

// The choices of "Номер:" for an element kind: the six pipes as "ТВ%d Труба %d", the two inputs and
// the extra input by number; none for an unused control or an invalid kind.
QStringList ControlNumberChoices(unsigned kind);
// The choices of "Параметр:" for an element kind, in parameter order.
QStringList ControlParameterChoices(unsigned kind);
// The text of an element number; empty when the kind has no such number.
QString ControlNumberText(unsigned kind, unsigned number);

// A control limit as the page shows it.
QString ControlLimitText(float value);

// "COM%d - Сервер №%d" of tab `tab` (0..3); the tab index is 2 * (COM - 1) + (server - 1), and it is
// also the index of the alarm entry the tab edits.
QString AlarmTabTitle(int tab);

// Column heads of the alarm list, and the name of event row `row` (1..25); empty outside.
QStringList AlarmListColumns();
QString AlarmEventName(int row);
