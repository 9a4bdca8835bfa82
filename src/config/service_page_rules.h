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

// The question asked before a service code that erases or overwrites something in the meter for good
// (the archives, the calibration coefficients); empty for a code that needs none.
QString ServiceCodeQuestion(std::uint16_t code);
// What the user is told once such a code has been carried out; empty for the others.
QString ServiceCodeDoneText(std::uint16_t code);
