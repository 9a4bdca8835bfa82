#include "support/port_table_guard.h"
#include "support/qt_printers.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// Assigns a number and stops at a failed assertion before any cleanup of its own.
void AssignAndStop()
{
    const PortTableGuard guard;
    PortTable::Global().Assign(30, QStringLiteral("/dev/zt5-left-behind"));
    FAIL() << "stopped";
}

}  // namespace

TEST(PortTableGuard, PutsBackAssignedClearedAndReloadedNumbers)
{
    const PortTableGuard outer;
    const QMap<int, QString> before{{3, QStringLiteral("/dev/zt5-a")}, {7, QStringLiteral("/dev/zt5-b")}};
    PortTable::Global().Load(before);
    {
        const PortTableGuard guard;
        PortTable::Global().Assign(3, QString());
        PortTable::Global().Assign(4, QStringLiteral("/dev/zt5-b"));  // taken away from 7
        {
            const PortTableGuard inner;
            PortTable::Global().Load({{1, QStringLiteral("/dev/zt5-c")}});
        }
        EXPECT_EQ(PortTable::Global().Entries(), (QMap<int, QString>{{4, QStringLiteral("/dev/zt5-b")}}));
    }
    EXPECT_EQ(PortTable::Global().Entries(), before);

    EXPECT_FATAL_FAILURE(AssignAndStop(), "stopped");
    EXPECT_EQ(PortTable::Global().Entries(), before);
}
