#pragma once
// How the configuration code speaks to the user: one message box at a time, answered by whoever runs
// it (the desktop pages, the command line, a test). Styles and answers are those of
// base/message_style.h.

#include <QString>

#include "base/message_style.h"

class ConfigMessageHost {
public:
    // Shows `text` under `caption` with the buttons and icon of `style`; returns the button pressed
    // (MessageAnswer::...).
    virtual int ShowMessage(const QString& text, const QString& caption, unsigned style) = 0;

protected:
    ~ConfigMessageHost() = default;
};

// "Информация" with the warning icon: a value the user has to correct.
void ShowConfigWarning(ConfigMessageHost& host, const QString& text);
// "Информация" with the information icon.
void ShowConfigInformation(ConfigMessageHost& host, const QString& text);
// "Ошибка" with the error icon: an internal fault.
void ShowConfigError(ConfigMessageHost& host, const QString& text);
// "Подтверждение" with Yes/No; true only for Yes.
bool AskConfigYesNo(ConfigMessageHost& host, const QString& text);
