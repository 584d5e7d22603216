// A fresh animation for tests: its own random source and settings, a fixed
// local date, and a count of how often the show was ended.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "animation/animation_state.h"

struct TestAnimation {
    RandomSource random;
    Settings settings;
    LocalDate date{2026, 12, 15};
    int endShowCalls = 0;
    AnimationState a;

    explicit TestAnimation(uint32_t seed = 12345) {
        random.Seed(seed);
        settings.Set(BigBang, 0);
        a.host = {&settings, &random, [this] { return date; }, [this] { ++endShowCalls; }};
    }
    TestAnimation(const TestAnimation&) = delete;
    TestAnimation& operator=(const TestAnimation&) = delete;

    void Set(int index, int32_t value) { settings.Set(index, value); }
    DigitObject& operator[](int k) { return a.ObjectPool[k]; }
};

// Digits of the objects in play, keyed by destination.
inline std::map<std::pair<int, int>, std::vector<int>> Destinations(const AnimationState& a) {
    std::map<std::pair<int, int>, std::vector<int>> out;
    for (const DigitObject& o : a.ObjectPool) {
        if (o.inPlay == 1 && o.hasTarget == 1) {
            out[{o.targetX, o.targetY}].push_back(o.digit);
        }
    }
    return out;
}

// The one digit headed for (x, y), or -1 when none or several are.
inline int DigitAt(const AnimationState& a, int x, int y) {
    const auto all = Destinations(a);
    const auto it = all.find({x, y});
    return it != all.end() && it->second.size() == 1 ? it->second[0] : -1;
}
