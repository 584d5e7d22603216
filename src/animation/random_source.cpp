#include "animation/random_source.h"

RandomSource g_Random;

int RandomSource::Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

int RandomSource::Draw(int n) {
    const int value = Next();
    return n > 0 ? value % n : 0;
}
