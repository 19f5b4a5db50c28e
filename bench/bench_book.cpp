// The puzzle book: 100 puzzles of the fifteen templates in turn, with their solutions, drawn
// into memory (the disk's speed is not ours to measure; corvana-gen --pdf writes such a book to
// look at). The puzzles are made once, outside the timing; BM_GenerateHundred times their
// generation on its own.
#include "print/PuzzleBook.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kPuzzles = 100;

std::vector<corvana::PuzzleState> MakePuzzles() {
    std::vector<corvana::PuzzleState> puzzles;
    const auto& templates = corvana::Templates();
    for (int k = 0; k < kPuzzles; ++k) {
        corvana::PuzzleState& s = puzzles.emplace_back();
        s.PuzzleName = std::string(templates[static_cast<std::size_t>(k) % templates.size()].name);
        corvana::GeneratePuzzle(s, static_cast<std::uint64_t>(1000 + k));
    }
    return puzzles;
}

corvana::BookSettings Settings(corvana::Paper paper) {
    corvana::BookSettings settings;
    settings.paper = paper;
    for (const auto& t : corvana::Templates())
        settings.templates.push_back(&t);
    return settings;
}

const std::vector<corvana::PuzzleState>& Puzzles() {
    static const auto puzzles = MakePuzzles();
    return puzzles;
}

void BM_GenerateHundred(benchmark::State& bench) {
    for (auto _ : bench)
        benchmark::DoNotOptimize(MakePuzzles());
}
BENCHMARK(BM_GenerateHundred)->Unit(benchmark::kMillisecond);

void BM_DrawBook(benchmark::State& bench) {
    const auto& puzzles = Puzzles();
    std::string pdf;
    for (auto _ : bench) {
        pdf.clear();
        corvana::BookSettings settings = Settings(corvana::Paper::A4);
        settings.count = static_cast<int>(puzzles.size());
        corvana::PuzzleBook book(std::move(settings));
        auto problem = book.Begin([&pdf](const char* data, std::size_t size) {
            pdf.append(data, size);
            return true;
        });
        for (std::size_t k = 0; !problem && k < puzzles.size(); ++k)
            problem = book.Add(puzzles[k]);
        if (!problem)
            problem = book.Finish();
        if (problem) {
            bench.SkipWithError(problem->c_str());
            break;
        }
    }
    bench.counters["bytes"] = static_cast<double>(pdf.size());
}
BENCHMARK(BM_DrawBook)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
