#pragma once
// The configuration part of the page tree: which id each configuration page has and what its tree
// entry reads. Pure functions, so the desktop tree and its tests agree on every label.
//
// Page ids (0 is the frame, 100 and up belong to other pages):
//   1          "Система" / "Сервис"
//   10 + set   "БД1", "БД2"
//   20 + 10*set                "Тепловые вводы" of the set
//   21 + 10*set + 3*input      the input's node "ТВ%d ..."
//   22 + 10*set + 3*input      its "Общие"
//   23 + 10*set + 3*input      its "Трубы 1...3"
//   90         "Контроли и алармы"

#include "config/tunes_record.h"

#include <QString>

namespace ConfigPageIds {
inline constexpr int kSystem = 1;
inline constexpr int kControlsAndAlarms = 90;
// -1 for a set or input out of range.
int SetNode(int set);
int ThermalInputs(int set);
int InputNode(int set, int input);
int InputScheme(int set, int input);
int InputPipes(int set, int input);
}  // namespace ConfigPageIds

// "БД1"; "БД2", or "БД2 (не исп.)" while the second set is not in use; "error" for a set out of range.
QString SetNodeLabel(const TunesRecord& tunes, int set);
// "ТВ%d (СИ=%d)" with the input's scheme, "ТВ%d (не исп.)" without one and for every input of the
// second set while it is not in use; "error" for a set or input out of range.
QString InputNodeLabel(const TunesRecord& tunes, int set, int input);
