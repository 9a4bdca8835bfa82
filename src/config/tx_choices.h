#pragma once
// Where an input takes its cold-water temperature tx from ("Использование tx"): the choices the model,
// the combination and the other input of the same parameter set leave open, and the change of that use.

#include <QString>
#include <vector>

#include "config/config_messages.h"
#include "config/device_blocks.h"

struct TxChoice {
    unsigned value;  // "Исп.tx": 0 not used, 1 contract, 2 own spare channel, 3 the other input's
    QString text;
};

struct TxChoices {
    bool enabled = false;  // false: the formula needs no tx; the tx fields are disabled
    std::vector<TxChoice> entries;
    int selected = -1;  // position of the input's value in `entries`
};

// Whether the heat formula of the combination (`scheme`, КТ3, ФРТ) takes the cold-water enthalpy hx,
// in Q12 or in Qг; without it the input needs no tx.
bool CombinationNeedsColdWater(int scheme, unsigned kt3, unsigned frt, bool alternativeQg);

// Builds the list for `input` of `db` and brings the stored use into it: with no tx needed it becomes 0,
// a value the list lacks becomes the first entry's.
TxChoices BuildTxChoices(DbSettings& db, int input, const DeviceIdentity& identity);

// The user picked position `position` of `choices`. Giving up the own channel while the other input
// reads its tx there is refused with a message; so is a position outside the list. Returns whether
// the use was stored.
bool SelectTxChoice(DbSettings& db, int input, const TxChoices& choices, int position, ConfigMessageHost& host);

// "Измеряемая tx используется в ТВ%d. ..." for the other input.
QString TxInUseMessage(int otherInput);
