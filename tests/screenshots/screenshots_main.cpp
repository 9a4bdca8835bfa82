// zt5-screenshots FOLDER [GoogleTest options]: takes the pictures of docs/screenshots (each case one or
// more windows as a user sees them) and saves them in FOLDER. scripts/screenshots.sh runs it.

#include "screenshots/screenshot_folder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QString g_folder;

}  // namespace

QString ScreenshotFolder()
{
    return g_folder;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);  // takes its own options out of argv
    if (argc != 2) {
        std::fprintf(stderr, "Запуск: zt5-screenshots ПАПКА [параметры GoogleTest]\n");
        return 2;
    }
    const QFileInfo folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.isDir() || !folder.isWritable()) {
        std::fprintf(stderr, "zt5-screenshots: нет папки для снимков, доступной для записи: %s\n", argv[1]);
        return 2;
    }
    g_folder = folder.absoluteFilePath();
    return RUN_ALL_TESTS();
}
