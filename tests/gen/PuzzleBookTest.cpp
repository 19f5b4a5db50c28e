// The puzzle book as a reader gets it, looked at with poppler's tools: its pages, the text on
// each, where the words sit, and what is left on disk when writing fails. No QApplication
// here: the book makes its own on the offscreen platform.
#include "PuzzleBook.h"

#include "FakeDialogs.h"
#include "TempDir.h"
#include "puzzle/Templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include <signal.h>
#include <sys/resource.h>

namespace corvana {
namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        out.append(chunk, n);
    ::pclose(pipe);
    return out;
}

class PuzzleBookPaper : public ::testing::TestWithParam<Paper> {};

// One book of all fifteen templates, read back once: its pages and paper, the text on each page, and
// where every word sits - inside the margins and clear of every other word, so nothing is cut off at the
// page edge and no list runs into another or into a heading.
TEST_P(PuzzleBookPaper, EveryPuzzleHasItsPageTheSolutionsFollowFourToAPageAndNoWordIsCutOffOrOverlaps) {
    test::TempDir dir;
    const std::string pdf = dir.File("book.pdf");
    // The fifteen templates in turn, puzzle k with seed 40 + k.
    test::FakeDialogs dialogs;
    std::vector<BookPuzzle> puzzles;
    for (const auto& t : Templates()) {
        BookPuzzle& b = puzzles.emplace_back(BookPuzzle{static_cast<int>(puzzles.size()) + 1, {}});
        b.state.PuzzleName = std::string(t.name);
        ASSERT_TRUE(GeneratePuzzle(b.state, dialogs, 40 + static_cast<std::uint64_t>(b.number)));
    }
    std::vector<std::pair<int, int>> calls;
    const auto problem = WritePuzzleBook(pdf, puzzles, GetParam(),
                                         [&](int done, int total) { calls.emplace_back(done, total); });
    ASSERT_FALSE(problem) << *problem;
    const int pages = 1 + 15 + 4;
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find(GetParam() == Paper::A4 ? "595 x 842 pts (A4)" : "612 x 792 pts (letter)"),
              std::string::npos)
        << info;
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(pages));
    EXPECT_EQ(calls.back(), std::make_pair(pages, pages));
    // Vectors and text only: no picture anywhere (two header lines of the listing).
    const std::string images = Shell("pdfimages -list '" + pdf + "'");
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;
    // The text of every page, read in one go: pdftotext ends each page with a form feed.
    std::vector<std::string> texts;
    std::istringstream pageTexts(Shell("pdftotext '" + pdf + "' -"));
    for (std::string page; std::getline(pageTexts, page, '\f');)
        texts.push_back(page);
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(pages));
    for (const auto& b : puzzles) {
        SCOPED_TRACE(b.state.PuzzleName);
        const std::string& text = texts[static_cast<std::size_t>(b.number)];
        EXPECT_NE(text.find("Puzzle " + std::to_string(b.number) + "\n"), std::string::npos);
        EXPECT_NE(text.find(b.state.PuzzleName), std::string::npos);
        EXPECT_NE(text.find("seed " + std::to_string(b.state.Seed)), std::string::npos);
        std::istringstream in(text);
        const std::set<std::string> words{std::istream_iterator<std::string>(in), {}};
        for (const auto* lists : {&b.state.Captions, &b.state.CaptionsDown})
            for (const auto& captions : *lists)
                for (const auto& caption : captions)
                    EXPECT_TRUE(words.count(caption)) << caption;
    }
    const std::string& solutions = texts.back();
    EXPECT_NE(solutions.find("Puzzle 13 "), std::string::npos);
    EXPECT_NE(solutions.find("Puzzle 15 "), std::string::npos);
    EXPECT_EQ(solutions.find("Puzzle 12 "), std::string::npos);

    const std::regex pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    const std::regex wordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    struct Box {
        double x0, y0, x1, y1;
        std::string text;
    };
    std::vector<std::vector<Box>> boxes;
    double width = 0, height = 0;
    std::istringstream lines(Shell("pdftotext -bbox '" + pdf + "' -"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, pageTag)) {
            width = std::stod(m[1]);
            height = std::stod(m[2]);
            boxes.emplace_back();
        } else if (std::regex_search(line, m, wordTag)) {
            boxes.back().push_back(
                {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
        }
    }
    ASSERT_EQ(boxes.size(), static_cast<std::size_t>(pages));
    constexpr double kMargin = 30, kTouch = 0.01;
    for (std::size_t p = 0; p < boxes.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const auto& words = boxes[p];
        EXPECT_GT(words.size(), 20u);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const Box& a = words[i];
            EXPECT_TRUE(a.x0 >= kMargin && a.y0 >= kMargin && a.x1 <= width - kMargin &&
                        a.y1 <= height - kMargin)
                << a.text << " at " << a.x0 << "," << a.y0 << " " << a.x1 << "," << a.y1;
            for (std::size_t j = i + 1; j < words.size(); ++j) {
                const Box& b = words[j];
                const bool apart = a.x1 <= b.x0 + kTouch || b.x1 <= a.x0 + kTouch || a.y1 <= b.y0 + kTouch ||
                                   b.y1 <= a.y0 + kTouch;
                EXPECT_TRUE(apart) << a.text << " overlaps " << b.text << " at " << a.x0 << "," << a.y0;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, PuzzleBookPaper, ::testing::Values(Paper::A4, Paper::Letter),
                         [](const auto& paper) { return paper.param == Paper::A4 ? "A4" : "Letter"; });

// A failure is one line, and the folder holds afterwards exactly what it held before: no
// book, no half a book, no temporary file, and a book already there untouched.
TEST(PuzzleBookFailure, LeavesNothingBehindAndSaysWhy) {
    test::TempDir dir;
    test::FakeDialogs dialogs;
    std::vector<BookPuzzle> one{{1, {}}};
    one[0].state.PuzzleName = "Normal Puzzle Plus";
    ASSERT_TRUE(GeneratePuzzle(one[0].state, dialogs, 7));
    const auto expectOneLine = [](const std::optional<std::string>& problem, const std::string& mention) {
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->find('\n'), std::string::npos) << *problem;
        EXPECT_NE(problem->find(mention), std::string::npos) << *problem;
    };

    fs::create_directory(dir.File("folder"));
    expectOneLine(WritePuzzleBook(dir.File("folder"), one, Paper::A4, {}), dir.File("folder"));
    EXPECT_TRUE(fs::is_empty(dir.File("folder")));

    // A write cut short, as on a full disk: the file size limit stops the temporary file at 8 KB.
    const std::string kept = dir.File("kept.pdf");
    test::WriteText(kept, "the book of yesterday");
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 8192;
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto cut = WritePuzzleBook(kept, one, Paper::A4, {});
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, oldHandler);
    expectOneLine(cut, kept);
    EXPECT_TRUE(test::ReadText(kept) == "the book of yesterday") << "the old book was changed";

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"folder", "kept.pdf"}));
}

} // namespace
} // namespace corvana
