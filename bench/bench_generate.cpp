// GeneratePuzzle for every template, the whole build from name to padded captions.
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <benchmark/benchmark.h>

namespace {

void BM_GeneratePuzzle(benchmark::State& bench, std::string name, bool reduced) {
    corvana::PuzzleState state;
    state.PuzzleName = std::move(name);
    state.ReducedNumbers = reduced;
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        const bool ok = corvana::GeneratePuzzle(state, seed++).ok;
        benchmark::DoNotOptimize(ok);
    }
}

const bool registered = [] {
    for (const auto& t : corvana::Templates()) {
        benchmark::RegisterBenchmark(std::string(t.name).c_str(), BM_GeneratePuzzle, std::string(t.name),
                                     false)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string(t.name) + " (reduced)").c_str(), BM_GeneratePuzzle,
                                     std::string(t.name), true)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
