// Cost per call of the number conversions behind the speed-test button's caption counter: the
// caption's text to a number and the number back to a text, on counter values and on doubles of
// every magnitude.
#include "text/conversions.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kValues = 1024;

std::vector<double> counterValues() {
    std::vector<double> values;
    for (size_t i = 0; i < kValues; ++i) {
        values.push_back(static_cast<double>(i * 7919 + 1));
    }
    return values;
}

// Every finite bit pattern as likely: all magnitudes, 13 significant digits almost always.
std::vector<double> anyValues() {
    std::mt19937_64 random(7);
    std::vector<double> values;
    while (values.size() < kValues) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    return values;
}

std::vector<std::string> textsOf(const std::vector<double>& values) {
    std::vector<std::string> texts;
    for (const double value : values) {
        texts.push_back(text::toText(value));
    }
    return texts;
}

void toTextOf(benchmark::State& state, const std::vector<double>& values) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::toText(values[i++ % kValues]));
    }
}

void toNumberOf(benchmark::State& state, const std::vector<std::string>& texts) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::toNumber(texts[i++ % kValues]));
    }
}

void toTextCounter(benchmark::State& state) {
    toTextOf(state, counterValues());
}
void toTextAnyDouble(benchmark::State& state) {
    toTextOf(state, anyValues());
}
void toNumberCounter(benchmark::State& state) {
    toNumberOf(state, textsOf(counterValues()));
}
void toNumberAnyDouble(benchmark::State& state) {
    toNumberOf(state, textsOf(anyValues()));
}

void toNumberCaption(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::toNumber("MervoltV1.0"));
    }
}

} // namespace

BENCHMARK(toTextCounter);
BENCHMARK(toTextAnyDouble);
BENCHMARK(toNumberCounter);
BENCHMARK(toNumberAnyDouble);
BENCHMARK(toNumberCaption);

BENCHMARK_MAIN();
