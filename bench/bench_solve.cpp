// The solver on a generated puzzle of every template beside the grade of the same puzzles
// (goal: grading at most 3x solving), the hint on a half-filled grid, and generation with the
// one-solution check beside generation without it.
#include "SilentDialogs.h"
#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

namespace {

using corvana::bench::SilentDialogs;

// Solving and grading cost differ from puzzle to puzzle: both cycle through the same fixed set.
std::vector<corvana::PuzzleState> Puzzles(const std::string& name) {
    SilentDialogs dialogs;
    std::vector<corvana::PuzzleState> states(16);
    for (std::size_t k = 0; k < states.size(); ++k) {
        states[k].PuzzleName = name;
        corvana::GeneratePuzzle(states[k], dialogs, k + 1);
    }
    return states;
}

std::vector<corvana::FillIn> ShownPuzzles(const std::string& name) {
    std::vector<corvana::FillIn> puzzles;
    for (const corvana::PuzzleState& state : Puzzles(name))
        puzzles.push_back(corvana::ShownPuzzle(state));
    return puzzles;
}

void BM_Solve(benchmark::State& bench, std::string name) {
    const std::vector<corvana::FillIn> puzzles = ShownPuzzles(name);
    std::size_t next = 0;
    for (auto _ : bench) {
        const corvana::SolveResult result = corvana::Solve(puzzles[next++ % puzzles.size()], 2);
        benchmark::DoNotOptimize(result.solutions);
    }
}

void BM_Grade(benchmark::State& bench, std::string name) {
    const std::vector<corvana::FillIn> puzzles = ShownPuzzles(name);
    std::size_t next = 0;
    for (auto _ : bench) {
        const corvana::Grade grade = corvana::GradePuzzle(puzzles[next++ % puzzles.size()]);
        benchmark::DoNotOptimize(grade);
    }
}

// A player who has worked the top half of the grid asks for a hint.
void BM_HintHalfFilled(benchmark::State& bench, std::string name) {
    std::vector<corvana::FillIn> grids;
    for (const corvana::PuzzleState& state : Puzzles(name)) {
        corvana::FillIn grid = corvana::ShownPuzzle(state);
        for (std::size_t c = 0; c < grid.given.size() / 2; ++c)
            grid.given[c] = state.SolutionArray[c];
        grids.push_back(std::move(grid));
    }
    std::size_t next = 0;
    for (auto _ : bench) {
        const corvana::HintStep step = corvana::NextStep(grids[next++ % grids.size()]);
        benchmark::DoNotOptimize(step.outcome);
    }
}

// The first hint with the starting number hidden: on a diagonal-symmetric template no rule
// makes progress, the slowest answer a hint gives.
void BM_HintHiddenStarter(benchmark::State& bench, std::string name) {
    std::vector<corvana::FillIn> grids = ShownPuzzles(name);
    for (corvana::FillIn& grid : grids)
        grid.given.assign(grid.given.size(), -1);
    std::size_t next = 0;
    for (auto _ : bench) {
        const corvana::HintStep step = corvana::NextStep(grids[next++ % grids.size()]);
        benchmark::DoNotOptimize(step.outcome);
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
        benchmark::RegisterBenchmark(("grade/" + name).c_str(), BM_Grade, name)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("hint half-filled/" + name).c_str(), BM_HintHalfFilled, name)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("hint hidden starter/" + name).c_str(), BM_HintHiddenStarter, name)
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
