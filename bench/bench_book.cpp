// The puzzle book: 100 puzzles of the fifteen templates in turn, with their solutions, drawn
// and written to a file. The puzzles are made once, outside the timing; BM_GenerateHundred
// times their generation on its own.
//   bench_book --out=FILE [--letter]   writes that book to FILE instead of timing it
#include "print/PuzzleBook.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
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

void BM_WriteBook(benchmark::State& bench) {
    const auto& puzzles = Puzzles();
    const std::string path = (std::filesystem::temp_directory_path() / "corvana-bench-book.pdf").string();
    for (auto _ : bench) {
        const auto problem = corvana::WritePuzzleBook(path, Settings(corvana::Paper::A4), puzzles);
        if (problem) {
            bench.SkipWithError(problem->c_str());
            break;
        }
    }
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteBook)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string out;
    auto paper = corvana::Paper::A4;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg.rfind("--out=", 0) == 0)
            out = arg.substr(6);
        else if (arg == "--letter")
            paper = corvana::Paper::Letter;
        else {
            std::cerr << "bench_book: unknown argument " << arg << "\n";
            return 2;
        }
    }
    if (!out.empty()) {
        if (const auto problem = corvana::WritePuzzleBook(out, Settings(paper), Puzzles())) {
            std::cerr << "bench_book: " << *problem << "\n";
            return 1;
        }
        return 0;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
