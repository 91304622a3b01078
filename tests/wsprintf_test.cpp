// wsprintf_test.cpp -- bounded formatting, and the private rand sequence.
#include "platform/rand.h"
#include "platform/wsprintf.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Wsprintf, FormatsTextAndNumbers)
{
    char buf[80];
    EXPECT_EQ(wsprintfA(buf, "Puntuacio:%d", -12), 13);
    EXPECT_STREQ(buf, "Puntuacio:-12");
    wsprintfA(buf, "%s - %d", "abc", 7);
    EXPECT_STREQ(buf, "abc - 7");
}

TEST(Wsprintf, NeverWritesPastTheArray)
{
    char buf[12];
    std::memset(buf, 'x', sizeof buf);
    char guard[4] = {'g', 'g', 'g', 'g'};
    int n = wsprintfA(buf, "%s", "a text much longer than the buffer");
    EXPECT_EQ(n, 11);
    EXPECT_EQ(std::strlen(buf), 11u);
    EXPECT_EQ(guard[0], 'g');
}

TEST(Wsprintf, ExplicitBoundCutsAndTerminates)
{
    char buf[8] = "zzzzzzz";
    EXPECT_EQ(wnsprintfA(buf, 4, "%d", 123456), 3);
    EXPECT_STREQ(buf, "123");
    EXPECT_EQ(wnsprintfA(buf, 0, "%d", 1), 0);
    EXPECT_EQ(wnsprintfA(nullptr, 4, "%d", 1), 0);
}

TEST(Rand, ReplaysTheClassicSequenceFromItsStart)
{
    crt::RandReset();
    EXPECT_EQ(crt::rand(), 41);
    EXPECT_EQ(crt::rand(), 18467);
    EXPECT_EQ(crt::rand(), 6334);
    crt::RandReset();
    EXPECT_EQ(crt::rand(), 41);
}
