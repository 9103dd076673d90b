// NumberText against the C library's "%.10g" on the same values in the same
// run: the figure that matters is the ratio of the two.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/values/NumberText.h"

namespace {

// What a game shows: scores, times, coordinates, fractions, a few large and small.
std::vector<double> GameValues() {
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<double> values;
    for (int i = 0; i < 1024; ++i) {
        switch (i % 4) {
            case 0:
                values.push_back(static_cast<int>(unit(random) * 100000));
                break;
            case 1:
                values.push_back(unit(random) * 1000);
                break;
            case 2:
                values.push_back(unit(random) / 3);
                break;
            default:
                values.push_back((unit(random) - 0.5) * 1e12);
                break;
        }
    }
    return values;
}

void BM_NumberText(benchmark::State& state) {
    const std::vector<double> values = GameValues();
    size_t i = 0;
    for (auto _ : state) {
        RtString text = NumberText(values[i++ & 1023]);
        benchmark::DoNotOptimize(text.buffer);
    }
}
BENCHMARK(BM_NumberText);

void BM_WriteNumberText(benchmark::State& state) {
    const std::vector<double> values = GameValues();
    char text[32];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteNumberText(values[i++ & 1023], text));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WriteNumberText);

void BM_SnprintfG10(benchmark::State& state) {
    const std::vector<double> values = GameValues();
    char text[32];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%.10g", values[i++ & 1023]));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SnprintfG10);

}  // namespace

BENCHMARK_MAIN();
