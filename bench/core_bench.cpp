// Speed of the core's number texts and conversions, each beside std::to_chars(general, 15)
// of the same values, measured in the same run. Prints the usual table, then the ratios.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "core/value_text.h"

namespace {

using namespace quilvane;

constexpr double A = 3.90802E-03;
constexpr double B = -5.8E-07;
constexpr double C = -4.2735E-12;

const std::vector<double> kValues = {109.7338,     80.3068871875, 0.998045844946314, -27.07598,
                                     850,          100.39074399999998, 99.843669917254, 1.5e20,
                                     -0.2707598,   390.2767,      0.0001,            60.25433};
const std::vector<std::string> kAboveZero = {"25", "100", "849", "0", "437.2", "12"};
const std::vector<std::string> kBelowZero = {"-50", "-0.4", "-200", "-100", "-12.5", "-300"};
const MessageBoxService kSilent = [](const std::string&, const std::string&, int) {};

void BM_ToChars(benchmark::State& state) {
    char buf[32];
    for (auto _ : state)
        for (double v : kValues) {
            auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
            benchmark::DoNotOptimize(r.ptr);
            benchmark::ClobberMemory();
        }
}

void BM_SpacedText(benchmark::State& state) {
    for (auto _ : state)
        for (double v : kValues) benchmark::DoNotOptimize(SpacedText(v));
}

void BM_PlainText(benchmark::State& state) {
    for (auto _ : state)
        for (double v : kValues) benchmark::DoNotOptimize(PlainText(v));
}

void BM_ReadNumber(benchmark::State& state) {
    std::vector<std::string> texts;
    for (double v : kValues) texts.push_back(PlainText(v));
    for (auto _ : state)
        for (const auto& t : texts) benchmark::DoNotOptimize(ReadNumber(t));
}

void BM_ConvertAboveZero(benchmark::State& state) {
    for (auto _ : state)
        for (const auto& t : kAboveZero) benchmark::DoNotOptimize(ConvertTemperature(t, A, B, C, kSilent));
}

void BM_ConvertBelowZero(benchmark::State& state) {
    for (auto _ : state)
        for (const auto& t : kBelowZero) benchmark::DoNotOptimize(ConvertTemperature(t, A, B, C, kSilent));
}

void BM_Com(benchmark::State& state) {
    const std::int16_t ohms[] = {110, 138, 250, 80, 18, -500};
    for (auto _ : state)
        for (std::int16_t r : ohms) benchmark::DoNotOptimize(com(r, A, B, C, kSilent));
}

BENCHMARK(BM_ToChars);
BENCHMARK(BM_SpacedText);
BENCHMARK(BM_PlainText);
BENCHMARK(BM_ReadNumber);
BENCHMARK(BM_ConvertAboveZero);
BENCHMARK(BM_ConvertBelowZero);
BENCHMARK(BM_Com);

// Keeps each run's time per iteration (every benchmark handles six or twelve values a pass;
// ratios are per value) while the console reporter prints as usual.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration) perValue_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        const auto base = perValue_.find("BM_ToChars");
        if (base == perValue_.end()) return;
        const double perValueBase = base->second / static_cast<double>(kValues.size());
        std::printf("\nPer value, against std::to_chars(general, 15) in this run:\n");
        const std::map<std::string, std::size_t> count = {
            {"BM_SpacedText", kValues.size()},     {"BM_PlainText", kValues.size()},
            {"BM_ReadNumber", kValues.size()},     {"BM_ConvertAboveZero", kAboveZero.size()},
            {"BM_ConvertBelowZero", kBelowZero.size()}, {"BM_Com", 6}};
        for (const auto& [name, n] : count) {
            const auto it = perValue_.find(name);
            if (it == perValue_.end()) continue;
            std::printf("  %-22s %6.2fx\n", name.c_str(), it->second / static_cast<double>(n) / perValueBase);
        }
    }

private:
    std::map<std::string, double> perValue_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
