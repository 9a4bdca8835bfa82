#pragma once
// What the maker's service page refuses or asks before it queues a command, for every front end.

#include <QString>

#include <cstdint>

// "04.1" (model index 4) exists only from firmware level 524; false for a model the meter cannot be.
bool MakerModelFitsMeter(int model, std::uint16_t firmwareLevel);
// "Недопустимый номер модели для данного прибора!"
QString MakerModelRefusal();

// Asked before the clock is set: "Выполнение команды приведет к сбросу архива. Продолжить выполнение?"
QString ClockResetQuestion();
