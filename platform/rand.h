// rand.h -- stands in for the C runtime's rand: the classic sequence, private to the program.
#pragma once

// A namespace of its own, so that libraries calling the C library's rand never move our sequence.
namespace crt {

// 0 to 32767; the state starts at 1 and is never seeded, so every start replays the same turns.
int rand();
// Puts the sequence back at its start, for tests that replay it.
void RandReset();

} // namespace crt
