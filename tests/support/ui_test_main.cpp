#include "support/port_table_guard.h"

#include <gtest/gtest.h>
#include <QApplication>

// Widget tests need an application with a platform; without a display they use the offscreen one
// (also while CMake lists the tests at build time).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    KeepPortTableChangesWithinEachTest();
    return RUN_ALL_TESTS();
}
