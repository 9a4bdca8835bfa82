#pragma once
// The two texts of OpenSettings ("Код организации", "Договор"): nine windows-1251 characters and a zero.

#include <QString>

#include "config/device_blocks.h"

inline constexpr int kOpenTextLength = kOpenTextSize - 1;

// The text up to its first zero (or all nine characters when the zero is missing).
QString OrganisationCode(const OpenSettings& open);
QString ContractText(const OpenSettings& open);

// Stores at most nine characters, zero-filling the rest of the field; characters the code page lacks
// become '?'. Returns false when the text had to be cut or changed that way.
bool SetOrganisationCode(OpenSettings& open, const QString& text);
bool SetContractText(OpenSettings& open, const QString& text);
