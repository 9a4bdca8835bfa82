#include "support/port_table_guard.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

// Core code uses Qt types that expect an application object (text codecs, sockets, threads).
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    KeepPortTableChangesWithinEachTest();
    return RUN_ALL_TESTS();
}
