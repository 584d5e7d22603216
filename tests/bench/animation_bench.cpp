// Timing of the animation core: one motion update over a full pool of 200
// objects in free drift and in gathering, and one month layout.
//
// Build and run natively, optimised and without sanitizers, from the
// repository root (one command):
//   mkdir -p build/bench && g++ -std=c++17 -O2 -Isrc tests/bench/animation_bench.cpp
//   src/animation/*.cpp src/settings/settings_table.cpp -lbenchmark -lpthread
//   -o build/bench/animation_bench && build/bench/animation_bench
#include <benchmark/benchmark.h>

#include "animation/digit_pool.h"
#include "animation/month_layout.h"
#include "animation/scene_timeline.h"

namespace {

// A seeded pool on the default screen with every object in play.
void PrepareFullPool(AnimationState& a, RandomSource& random, int sceneState) {
    random.Seed(20261201);
    a.host.random = &random;
    a.host.localDate = [] { return LocalDate{2026, 12, 1}; };
    static Settings settings;
    settings.Set(BigBang, 0);
    a.host.settings = &settings;
    SeedPool(a, 0);
    for (DigitObject& o : a.ObjectPool) {
        o.inPlay = 1;
        o.hasTarget = 1;
    }
    a.SceneState = sceneState;
}

void RunUpdateMotion(benchmark::State& state, int sceneState) {
    static AnimationState a;
    a = AnimationState{};
    RandomSource random;
    PrepareFullPool(a, random, sceneState);
    uint32_t now = 0;
    for (auto _ : state) {
        UpdateMotion(a, now += 16);
        benchmark::DoNotOptimize(a.ObjectPool[199].x);
    }
}

void BM_UpdateMotionDrift(benchmark::State& state) {
    RunUpdateMotion(state, 0);
}
void BM_UpdateMotionGathering(benchmark::State& state) {
    RunUpdateMotion(state, 1);
}

void BM_LayoutMonthPage(benchmark::State& state) {
    static AnimationState a;
    a = AnimationState{};
    RandomSource random;
    PrepareFullPool(a, random, 0);
    for (auto _ : state) {
        LayoutMonthPage(a, 0);
        benchmark::DoNotOptimize(a.ObjectPool[0].targetX);
    }
}

BENCHMARK(BM_UpdateMotionDrift);
BENCHMARK(BM_UpdateMotionGathering);
BENCHMARK(BM_LayoutMonthPage);

}  // namespace

BENCHMARK_MAIN();
