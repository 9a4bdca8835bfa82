#include "support/port_table_guard.h"

#include <gtest/gtest.h>

#include <memory>

PortTableGuard::PortTableGuard() : m_saved(PortTable::Global().Entries()) {}

PortTableGuard::~PortTableGuard()
{
    PortTable::Global().Load(m_saved);
}

namespace {

class PortTableListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { m_guard = std::make_unique<PortTableGuard>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { m_guard.reset(); }

    std::unique_ptr<PortTableGuard> m_guard;
};

}  // namespace

void KeepPortTableChangesWithinEachTest()
{
    // GoogleTest owns and deletes the listener.
    ::testing::UnitTest::GetInstance()->listeners().Append(new PortTableListener);
}
