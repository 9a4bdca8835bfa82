#pragma once
// The folder zt5-screenshots puts its pictures in, as its command line named it.

#include <QString>

QString ScreenshotFolder();
