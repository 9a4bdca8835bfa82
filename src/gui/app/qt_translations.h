#pragma once
// Qt's own texts in Russian: the file, print, preview and page set-up dialogs and the standard buttons
// ("Да", "Нет", "Отмена") speak the program's language.

class QCoreApplication;

// Loads Qt's Russian translation into `application`; false when it is not installed (the program then
// runs on with Qt's English texts).
bool InstallQtRussianTranslation(QCoreApplication& application);
