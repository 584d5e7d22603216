// The program's one pseudo-random generator. A linear congruential generator
// whose whole sequence follows from its seed, so a run seeded with a known
// value can be replayed draw for draw.
#pragma once

#include <cstdint>

struct RandomSource {
    uint32_t state = 0;

    // Starts the sequence anew from seed (the display start uses the tick
    // count, the music's tune choice the current time in seconds).
    void Seed(uint32_t seed) { state = seed; }

    // Advances the state (state * 214013 + 2531011, modulo 2^32) and returns
    // bits 16 to 30 of the new state: 0 to 32767.
    int Next();

    // One new value taken modulo n. A count of 0 or less has no valid result:
    // the value is still consumed, so the sequence stays in step, and 0 is
    // returned.
    int Draw(int n);
};

// The generator that the whole program shares.
extern RandomSource g_Random;
