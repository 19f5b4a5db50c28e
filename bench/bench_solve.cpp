// The solver on a generated puzzle of every template beside the grade of the same puzzles
// (goal: grading at most 3x solving), the hint on a half-filled grid, and generation with the
// one-solution check beside generation without it.
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Solving and grading cost differ from puzzle to puzzle: both cycle through the same fixed set.
std::vector<corvana::PuzzleState> Puzzles(const std::string& name) {
    std::vector<corvana::PuzzleState> states(16);
    for (std::size_t k = 0; k < states.size(); ++k) {
        states[k].PuzzleName = name;
        corvana::GeneratePuzzle(states[k], k + 1);
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
    std::int64_t mostSteps = 0;
    for (auto _ : bench) {
        const corvana::SolveResult result = corvana::Solve(puzzles[next++ % puzzles.size()], 2);
        mostSteps = std::max(mostSteps, result.steps);
        benchmark::DoNotOptimize(result.solutions);
    }
    bench.counters["most steps"] = static_cast<double>(mostSteps);
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
    corvana::PuzzleState state;
    state.PuzzleName = std::move(name);
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        const bool ok = corvana::GeneratePuzzle(state, seed++, maxDraws).ok;
        benchmark::DoNotOptimize(ok);
    }
}

// Boards made to defeat the search: every cell 0 or 1 at random, nothing shown, and one digit of
// one number changed so that no solution exists. `blocks` 2 x 2 blocks on an 8 x 8 board (rows
// and columns 2 and 5 black), whose 4 x `blocks` two-digit numbers fit many blocks alike; or,
// with blocks 0, an open `width` x `width` board.
corvana::FillIn HostileBoard(int blocks, int width) {
    std::mt19937 random(7);
    corvana::FillIn p;
    p.width = blocks > 0 ? 8 : width;
    const auto cells = static_cast<std::size_t>(p.width * p.width);
    p.white.assign(cells, blocks == 0);
    for (int b = 0; b < blocks; ++b)
        for (const int cell : {0, 1, 8, 9})
            p.white[static_cast<std::size_t>((b / 3) * 24 + (b % 3) * 3 + cell)] = true;
    p.given.assign(cells, -1);
    std::vector<char> digit(cells);
    for (auto& d : digit)
        d = static_cast<char>('0' + random() % 2);
    const auto at = [&](int cell) { return static_cast<std::size_t>(cell); };
    for (int dir = 0; dir < 2; ++dir)
        for (int line = 0; line < p.width; ++line) {
            std::string run;
            for (int k = 0; k <= p.width; ++k) {
                const int cell = dir == 0 ? line * p.width + k : k * p.width + line;
                if (k < p.width && p.white[at(cell)]) {
                    run += digit[at(cell)];
                    continue;
                }
                if (run.size() >= 2)
                    p.across[static_cast<int>(run.size())].push_back(run);
                run.clear();
            }
        }
    // One digit changed: the numbers no longer fit together, and only the whole search shows it.
    std::string& last = p.across.rbegin()->second.back();
    last[0] = last[0] == '0' ? '1' : '0';
    return p;
}

// The solver within its budget on those boards; `budget` 0 takes the search to its end (the
// cost before the budget, for the boards that finish at all in reasonable time).
void BM_SolveHostile(benchmark::State& bench, int blocks, int width, bool budgeted) {
    const corvana::FillIn board = HostileBoard(blocks, width);
    std::int64_t steps = 0;
    bool undecided = false;
    for (auto _ : bench) {
        const corvana::SolveResult result =
            corvana::Solve(board, 2, budgeted ? corvana::kSolveBudget : INT64_MAX);
        steps = result.steps;
        undecided = result.undecided;
        benchmark::DoNotOptimize(result.solutions);
    }
    bench.counters["steps"] = static_cast<double>(steps);
    bench.counters["undecided"] = undecided ? 1 : 0;
}

const bool registered = [] {
    // Before the budget only what ends within a few seconds: 7 blocks and the 20 x 20 board.
    for (const auto& [name, blocks, width, budgeted] :
         std::vector<std::tuple<std::string, int, int, bool>>{{"7 blocks, no budget", 7, 0, false},
                                                              {"7 blocks", 7, 0, true},
                                                              {"8 blocks", 8, 0, true},
                                                              {"9 blocks", 9, 0, true},
                                                              {"open 20x20, no budget", 0, 20, false},
                                                              {"open 20x20", 0, 20, true},
                                                              {"open 26x26", 0, 26, true},
                                                              {"open 40x40", 0, 40, true},
                                                              {"open 64x64", 0, 64, true}})
        benchmark::RegisterBenchmark(("solve hostile/" + name).c_str(), BM_SolveHostile, blocks, width,
                                     budgeted)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
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
