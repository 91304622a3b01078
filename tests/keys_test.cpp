// keys_test.cpp -- the key state: down now, or pressed since the last query.
#include "platform/keys.h"

#include <gtest/gtest.h>

class KeyState : public ::testing::Test
{
protected:
    void SetUp() override { KeyStateReset(); }
    void TearDown() override { KeyStateReset(); }
};

TEST_F(KeyState, UntouchedKeyReadsZero)
{
    EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
}

TEST_F(KeyState, HeldKeyReadsNonZeroOnEveryQuery)
{
    KeyStatePress(VK_SHIFT);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0) << "the down bit is the sign bit";
}

TEST_F(KeyState, TapBetweenQueriesIsReportedOnce)
{
    KeyStatePress(VK_CONTROL);
    KeyStateRelease(VK_CONTROL);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 1);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
}

TEST_F(KeyState, KeysAreIndependentAndOutOfRangeCodesReadZero)
{
    KeyStatePress(VK_UP);
    EXPECT_EQ(GetAsyncKeyState(VK_DOWN), 0);
    EXPECT_NE(GetAsyncKeyState(VK_UP), 0);
    KeyStatePress(-1);
    KeyStatePress(300);
    EXPECT_EQ(GetAsyncKeyState(-1), 0);
    EXPECT_EQ(GetAsyncKeyState(300), 0);
}

TEST_F(KeyState, AutoRepeatDoesNotRaiseANewPress)
{
    KeyStatePress(VK_RIGHT);
    GetAsyncKeyState(VK_RIGHT);
    KeyStatePress(VK_RIGHT);
    KeyStateRelease(VK_RIGHT);
    EXPECT_EQ(GetAsyncKeyState(VK_RIGHT), 0);
}
