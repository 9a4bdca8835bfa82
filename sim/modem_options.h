#pragma once
// The simulator's options for the modem in front of the meter (--modem-pty and its companions).

#include "hayes_modem.h"

#include <QString>

#include <functional>

// Takes `option` when it is a modem option, reading its value through `value`; `error` gets the text
// for a wrong value. False when the option is not a modem option. `ptyWanted` is set by --modem-pty.
bool ParseModemOption(const QString& option, const std::function<bool(QString&)>& value, HayesModemSettings& modem,
                      bool& ptyWanted, QString& error);
