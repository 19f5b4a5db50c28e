// The solver on a generated puzzle of every template, and generation with the one-solution
// check beside generation without it.
#include "SilentDialogs.h"
#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

namespace {

using corvana::bench::SilentDialogs;

// Solving cost differs from puzzle to puzzle: cycle through a fixed set of them.
void BM_Solve(benchmark::State& bench, std::string name) {
    SilentDialogs dialogs;
    std::vector<corvana::FillIn> puzzles;
    for (std::uint64_t seed = 1; seed <= 16; ++seed) {
        corvana::PuzzleState state;
        state.PuzzleName = name;
        corvana::GeneratePuzzle(state, dialogs, seed);
        puzzles.push_back(corvana::ShownPuzzle(state));
    }
    std::size_t next = 0;
    for (auto _ : bench) {
        const corvana::SolveResult result = corvana::Solve(puzzles[next++ % puzzles.size()], 2);
        benchmark::DoNotOptimize(result.solutions);
    }
}

void BM_Generate(benchmark::State& bench, std::string name, int maxDraws) {
    SilentDialogs dialogs;
    corvana::PuzzleState state;
    state.PuzzleName = std::move(name);
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        const bool ok = corvana::GeneratePuzzle(state, dialogs, seed++, maxDraws);
        benchmark::DoNotOptimize(ok);
    }
}

const bool registered = [] {
    for (const auto& t : corvana::Templates()) {
        const std::string name(t.name);
        benchmark::RegisterBenchmark(("solve/" + name).c_str(), BM_Solve, name)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("generate/" + name).c_str(), BM_Generate, name, 0)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("generate checked/" + name).c_str(), BM_Generate, name,
                                     corvana::kMaxDraws)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
