// jtmodul_test.cpp -- the module table's slots.
#include "Motor/jtmodul.h"

#include <gtest/gtest.h>

namespace {
struct Probe : JTModul
{
    explicit Probe(int id) : JTModul(id) {}
    ~Probe() override { ClearSlot(m_id); }
};
} // namespace

TEST(ModuleTable, ModuleRegistersInItsSlot)
{
    Probe probe(7);
    EXPECT_EQ(probe.GetModul(), &probe);
    EXPECT_EQ(JTModul::GetSlot(7), &probe);
}

TEST(ModuleTable, IdOutsideTheTableRegistersNothing)
{
    Probe high(10);
    Probe low(-1);
    EXPECT_EQ(high.GetModul(), nullptr);
    EXPECT_EQ(low.GetModul(), nullptr);
    EXPECT_EQ(JTModul::GetSlot(10), nullptr);
}
