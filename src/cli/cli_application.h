#pragma once
// zt5ctl's application object: a plain core application, except for the statement, whose PDF is drawn
// with Qt's painter and needs the fonts of a GUI application (offscreen: zt5ctl shows no window).

#include <QCoreApplication>

#include <memory>

std::unique_ptr<QCoreApplication> MakeCliApplication(int& argc, char** argv);
