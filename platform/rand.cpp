// rand.cpp -- the classic linear congruential generator, never seeded.
#include "platform/rand.h"

#include <cstdint>

namespace {
uint32_t g_state = 1;
}

int crt::rand()
{
    g_state = g_state * 214013u + 2531011u;
    return int((g_state >> 16) & 0x7FFF);
}

void crt::RandReset()
{
    g_state = 1;
}
