// The puzzle book as a reader gets it, looked at with poppler's tools: its pages, the text on
// each, where the words sit, and what is left on disk when writing fails. No QApplication
// here: the book makes its own on the offscreen platform.
#include "print/PuzzleBook.h"

#include "GenCli.h"
#include "TempDir.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string_view>

#include <signal.h>
#include <sys/resource.h>

namespace corvana {
namespace {

namespace fs = std::filesystem;

using test::Shell;
const std::optional<std::string> NoProblem;
const auto Has = [](std::string_view text, std::string_view part) { return text.find(part) != text.npos; };

// The text of every page: pdftotext ends each page with a form feed. A font may set "fi" as one
// ligature glyph; it reads here as the two letters.
std::vector<std::string> PageTexts(const std::string& pdf) {
    std::vector<std::string> texts;
    std::istringstream in(Shell("pdftotext '" + pdf + "' -"));
    for (std::string page; std::getline(in, page, '\f');)
        texts.push_back(std::regex_replace(page, std::regex("\ufb01"), "fi"));
    return texts;
}

struct Box {
    double x0, y0, x1, y1;
    std::string text;
};
struct Page {
    double width, height;
    std::vector<Box> words;
};

// Every page's size and the box of every word on it.
std::vector<Page> Pages(const std::string& pdf) {
    const std::regex pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    const std::regex wordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Page> pages;
    std::istringstream lines(Shell("pdftotext -bbox '" + pdf + "' -"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, pageTag))
            pages.push_back({std::stod(m[1]), std::stod(m[2]), {}});
        else if (std::regex_search(line, m, wordTag))
            pages.back().words.push_back(
                {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return pages;
}

class PuzzleBookPaper : public ::testing::TestWithParam<Paper> {};

// One book of all fifteen templates, read back once: its pages and paper, the text on each page, and
// where every word sits - inside the margins and clear of every other word, so nothing is cut off at the
// page edge and no list runs into another or into a heading.
TEST_P(PuzzleBookPaper, EveryPuzzleHasItsPageTheSolutionsFollowFourToAPageAndNoWordIsCutOffOrOverlaps) {
    test::TempDir dir;
    const std::string pdf = dir.File("book.pdf");
    // The fifteen templates in turn, puzzle k with seed 40 + k, graded Expert in its header; Five Plus has a
    // header too long for its line: a long name, a 20-digit seed, every remark (no one-solution check) and
    // a long grade.
    std::vector<PuzzleState> puzzles;
    BookSettings settings;
    settings.paper = GetParam();
    settings.author = "Al";
    settings.copyright = "(c) Al";
    for (const auto& t : Templates()) {
        PuzzleState& s = puzzles.emplace_back();
        s.PuzzleName = std::string(t.name);
        s.ReducedNumbers = s.PuzzleName == "Normal Puzzle Five Plus"; // the longest header
        ASSERT_TRUE(s.ReducedNumbers ? GeneratePuzzle(s, 18446744073709551000u, 0)
                                     : GeneratePuzzle(s, 40 + puzzles.size()));
        settings.templates.push_back(&t);
    }
    settings.count = static_cast<int>(puzzles.size());
    std::vector<std::pair<int, int>> calls;
    settings.progress = [&](int done, int total) { calls.emplace_back(done, total); };
    std::ofstream file(pdf, std::ios::binary);
    PuzzleBook book(settings);
    auto problem = book.Begin([&](const char* data, std::size_t size) {
        return !!file.write(data, static_cast<std::streamsize>(size));
    });
    for (std::size_t k = 0; k < puzzles.size() && !problem; ++k)
        problem = book.Add(puzzles[k],
                           puzzles[k].ReducedNumbers ? "Expert, for the patient and the bold" : "Expert");
    problem = problem ? problem : book.Finish();
    file.close();
    ASSERT_FALSE(problem) << *problem;
    const std::size_t pages = 1 + 15 + 4;
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    const char* paper = GetParam() == Paper::A4 ? "595 x 842 pts (A4)" : "612 x 792 pts (letter)";
    // The paper, and the book names its maker.
    EXPECT_EQ(std::pair(Has(info, paper), Has(info, "corvana-gen ")), std::pair(true, true)) << info;
    const std::vector<std::string> texts = PageTexts(pdf);
    const std::vector<Page> boxes = Pages(pdf);
    ASSERT_EQ(std::tuple(calls.size(), texts.size(), boxes.size()), std::tuple(pages, pages, pages));
    EXPECT_EQ(calls.back(), std::pair(int(pages), int(pages)));
    EXPECT_TRUE(Has(Shell("pdffonts '" + pdf + "'"), "Bold")) << "headings in bold";
    // Vectors and text only: no picture anywhere (two header lines of the listing).
    const std::string images = Shell("pdfimages -list '" + pdf + "'");
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;
    EXPECT_TRUE(Has(texts[0], "Puzzles: pages 2 to 16. Solutions: pages 17 to 20.")) << texts[0];
    // The book's look: every word of the title page, the first puzzle page, the last (a Large one) and
    // the first solutions page where the approved book has it, to a thousandth of a point. The title in
    // large type, the foot in small on the bottom margin; the given digits in the grid in the page's
    // largest type, list numbers up to 13 points, the header's note in 10; on a solutions page, a
    // puzzle's label in 11 points, its template's name in 9, the next solution half the body and a
    // gap on. After a change meant to be seen, CORVANA_APPROVE=1 writes the words anew: look at the
    // pages (pdftoppm) before committing them.
    std::ostringstream look;
    for (const std::size_t p : {0u, 1u, 15u, 16u})
        for (const Box& b : boxes[p].words)
            look << b.x0 << ' ' << b.y0 << ' ' << b.x1 << ' ' << b.y1 << ' ' << b.text << '\n';
    const std::string approved =
        std::string(CORVANA_TEST_DATA) + (GetParam() == Paper::A4 ? "/book-a4.txt" : "/book-letter.txt");
    if (std::getenv("CORVANA_APPROVE") != nullptr)
        test::WriteText(approved, look.str());
    EXPECT_EQ(look.str(), test::ReadText(approved));
    for (std::size_t k = 0; k < puzzles.size(); ++k) {
        const PuzzleState& s = puzzles[k];
        SCOPED_TRACE(s.PuzzleName);
        const std::string& text = texts[k + 1];
        const std::string number = std::to_string(k + 1), solutionPage = std::to_string(17 + k / 4);
        for (const std::string& says : {"Puzzle " + number + "\n", s.PuzzleName,
                                        "seed " + std::to_string(s.Seed), "Solution on page " + solutionPage})
            EXPECT_TRUE(Has(text, says)) << says;
        EXPECT_EQ(Has(text, "digits 0 to 5 \u00b7 two solutions"), s.ReducedNumbers); // Five Plus, unchecked
        EXPECT_EQ(Has(text, "ACROSS\n") && Has(text, "DOWN\n"), FindTemplate(s.PuzzleName)->SeparateLists());
        EXPECT_TRUE(Has(texts[16 + k / 4], "Puzzle " + number + " " + s.PuzzleName));
        std::istringstream in(text);
        const std::set<std::string> words{std::istream_iterator<std::string>(in), {}};
        for (const auto* lists : {&s.Captions, &s.CaptionsDown})
            for (const auto& captions : *lists)
                for (const auto& caption : captions)
                    EXPECT_TRUE(words.count(caption)) << caption;
    }

    constexpr double kMargin = 36 - 0.1, kTouch = 0.01; // half an inch
    // The starting number shown in the grid is struck through in its list, from just left of its digits.
    std::string given;
    for (int c = puzzles[0].StarterFirstCell; c <= puzzles[0].StarterLastCell; ++c)
        given += std::to_string(puzzles[0].SolutionArray[static_cast<std::size_t>(c)]);
    const auto& list = boxes[1].words;
    const auto struck = std::find_if(list.begin(), list.end(), [&](const Box& w) { return w.text == given; });
    ASSERT_NE(struck, list.end()) << given;
    // Read at 144 dots an inch (two to a point), as a PGM ("P5 width height 255", then the bytes):
    // the stroke reaches just past both ends, no further, and no other number has one.
    const std::string page = Shell("pdftoppm -f 2 -l 2 -r 144 -gray '" + pdf + "'");
    int pw = 0, ph = 0;
    std::istringstream(page.substr(2)) >> pw >> ph;
    // The bytes after the head.
    const char* ink = page.data() + page.size() - std::size_t(pw) * std::size_t(ph);
    const auto inked = [&](int x, const Box& w) { // any dark dot in column x over the word's height
        for (int y = int(2 * w.y0); y < int(2 * w.y1); ++y)
            if (static_cast<unsigned char>(ink[y * pw + x]) < 96)
                return true;
        return false;
    };
    const int l = int(2 * struck->x0), r = int(2 * struck->x1);
    for (const auto& [x, stroke] : {std::pair{l - 1, true}, {r + 1, true}, {l - 6, false}, {r + 6, false}})
        EXPECT_EQ(inked(x, *struck), stroke) << "x " << x << ", " << given;
    for (const Box& w : list)
        EXPECT_TRUE(&w == &*struck || !std::isdigit(w.text[0]) || w.text.size() < 2 ||
                    !inked(int(2 * w.x0) - 1, w))
            << w.text << " is struck through";
    // The grid stands centred over its lists, which begin 14 points under it, on a page of joined
    // lists and on one whose lists begin with ACROSS. The grid's edges are the ends of the page's
    // last row with a dark run longer than any word.
    for (const int p : {2, int(puzzles.size()) + 1}) { // the first puzzle and the last, a Large one
        const std::string image = Shell("pdftoppm -f " + std::to_string(p) + " -l " + std::to_string(p) +
                                        " -r 144 -gray '" + pdf + "'");
        int w = 0, h = 0, edge = 0, from = 0, to = 0, rule = -1, top = -1; // the first two: header, grid
        std::istringstream(image.substr(2)) >> w >> h;
        const char* dots = image.data() + image.size() - std::size_t(w) * std::size_t(h);
        for (int y = 0; y < h; ++y)
            for (int x = 0, run = 0; x < w; ++x)
                if ((run = static_cast<unsigned char>(dots[y * w + x]) < 96 ? run + 1 : 0) > 200)
                    std::tie(edge, from, to, rule, top) =
                        std::tuple(y, x - run + 1, x, rule < 0 ? y : rule,
                                   rule >= 0 && top < 0 && y > rule + 2 ? y : top);
        // 12 points from the header's rule to the grid, less half the grid's frame.
        EXPECT_NEAR((top - rule) / 2.0, 11.5, 0.25) << "page " << p << ": the grid under the header";
        const Page& shown = boxes[std::size_t(p - 1)];
        EXPECT_NEAR(rule / 2.0 - shown.words.front().y1, 2.9, 0.3) << "page " << p << ": rule 3 pt under";
        const auto first = std::find_if(shown.words.begin(), shown.words.end(),
                                        [&](const Box& b) { return b.y0 > (edge + 1) / 2.0; });
        EXPECT_NEAR(from / 2.0, shown.width - (to + 1) / 2.0, 0.5) << "page " << p << ": margins differ";
        // 14 points, less the up to 1 the type reaches above its line.
        EXPECT_NEAR(first->y0 - (edge + 1) / 2.0, 13.5, 0.5) << "page " << p << ": 14 points to the lists";
    }
    for (std::size_t p = 0; p < boxes.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        const auto& [width, height, words] = boxes[p];
        // The foot of every page but the title page has the page's number at its centre.
        const auto number =
            std::find_if(words.begin(), words.end(), [&, &width = width, &height = height](const Box& w) {
                return std::abs((w.x0 + w.x1) / 2 - width / 2) < 0.5 && w.y1 > height - kMargin - 3;
            });
        EXPECT_TRUE(p == 0 || (number != words.end() && number->text == std::to_string(p + 1)))
            << "no page number at the centre of the foot";
        // Down a column of lists each heading ("3 Digits") sits directly over its first number, clear
        // of a list above it, and each number under one as long or under the heading of its length,
        // drawn again where a list goes on at the top of a column.
        std::set<double> lefts;         // of the columns of lists: where their headings begin
        std::set<double> headingWidths; // of "Digits": a page's headings in one font, repeated ones too
        for (std::size_t i = 1; i + 1 < words.size(); ++i) {
            const Box& n = words[i];
            const Box *above = nullptr, *below = nullptr;
            for (const Box& w : words)
                if (std::abs(w.x0 - n.x0) > 0.5)
                    continue;
                else if (w.y0 >= n.y1 && (below == nullptr || w.y0 < below->y0))
                    below = &w;
                else if (w.y1 <= n.y0 && (above == nullptr || w.y1 > above->y1))
                    above = &w;
            const std::string under = above ? above->text : "";
            if (words[i + 1].text == "Digits") {
                lefts.insert(n.x0);
                headingWidths.insert(std::round((words[i + 1].x1 - words[i + 1].x0) * 10) / 10);
                ASSERT_NE(below, nullptr) << n.text << " Digits ends a column";
                EXPECT_EQ(below->text.size(), std::stoul(n.text)) << n.text << " Digits over " << below->text;
                const double gapAbove = std::isdigit(under[0]) ? n.y0 - above->y1 : 99;
                EXPECT_GT(gapAbove, below->y0 - n.y1 + 2) << n.text << " Digits runs into the list above";
            } else if (n.text.size() > 1 && std::isdigit(n.text[0]) &&
                       std::abs(words[i - 1].y0 - n.y0) > 0.5 &&
                       std::any_of(words.begin(), words.end() - 1, [&](const Box& w) {
                           return std::abs(w.x0 - n.x0) < 0.5 && (&w + 1)->text == "Digits";
                       })) { // the first number of a row in a column of lists
                EXPECT_TRUE(under.size() == n.text.size() || under == std::to_string(n.text.size()))
                    << n.text << " stands under " << under;
            }
        }
        EXPECT_LE(headingWidths.size(), 1u);
        // The columns share the width between the margins evenly, 18 points apart.
        double k = 0;
        for (const double left : lefts)
            EXPECT_NEAR(left, 36 + k++ * (width - 2 * 36 + 18) / double(lefts.size()), 0.1) << "column " << k;
        for (std::size_t i = 0; i < words.size(); ++i) {
            const Box& a = words[i];
            EXPECT_NE(a.text, ".") << "an empty square is left blank";
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

// corvana-gen --grade: each page header names its puzzle's template, seed and grade, as the JSON
// of the same command does; with no digit given, the rules finishing a puzzle mean it has one
// solution even on a mirrored grid, and the title page says so.
TEST(PuzzleBookGrade, EveryPageHeaderNamesTheGradeAndAGradeTheRulesReachHasOneSolution) {
    test::TempDir dir;
    const std::string pdf = dir.File("medium.pdf"), mirrored = dir.File("mirrored.pdf");
    std::vector<std::string> args = {"--template", "all",     "--count", "4",         "--seed",
                                     "1",          "--grade", "Medium",  "--no-first"};
    auto book = args;
    book.insert(book.end(), {"--pdf", pdf, "--author", "Al", "--copyright", "(c) Al", "--title", "Sunday"});
    args.insert(args.end(), {"--format", "json"}); // the same puzzles as JSON lines
    std::ostringstream out, lines, err;
    ASSERT_EQ(RunGenerator(book, out, err), 0) << err.str();
    ASSERT_EQ(RunGenerator(args, lines, err), 0) << err.str();

    const std::vector<std::string> texts = PageTexts(pdf);
    ASSERT_EQ(texts.size(), 1u + 4 + 1); // four solutions fill one page
    const std::string title = std::regex_replace(texts[0], std::regex("\n"), " ");
    EXPECT_TRUE(Has(Shell("pdfinfo '" + pdf + "'"), "Title:           Sunday\n"));
    for (const char* says : {"Sunday by Al", "4 number fill-in puzzles, with the solutions at the back",
                             "Every puzzle has exactly one solution.", "No digit is given:", "(c) Al",
                             "How to play", "Puzzles: pages 2 to 5. Solutions: page 6."})
        EXPECT_TRUE(Has(title, says)) << says << "\n" << title;
    // Without a grade, a book whose every grid reads both ways says that either reading is right.
    args = {"--template", "Small Puzzle Project X", "--count", "1", "--no-first", "--pdf", mirrored};
    ASSERT_EQ(RunGenerator(args, out, err), 0);
    const std::string both = std::regex_replace(PageTexts(mirrored)[0], std::regex("\n"), " ");
    for (const char* says : {"Puzzle: page 2. Solution: page 3.", "Every grid here reads the same mirrored",
                             "1 number fill-in puzzle, with its solution"})
        EXPECT_TRUE(Has(both, says)) << says << "\n" << both;
    // A grid that does not read the same mirrored, or one listing its down numbers apart, has one solution.
    for (const char* name : {"Normal Puzzle Steps", "Large Puzzle Squares"}) {
        ASSERT_EQ(
            RunGenerator({"--template", name, "--count", "1", "--no-first", "--pdf", mirrored}, out, err), 0);
        EXPECT_TRUE(Has(PageTexts(mirrored)[0], "has exactly one solution.")) << name;
    }
    std::istringstream in(lines.str());
    std::size_t k = 1;
    for (std::string line; std::getline(in, line); ++k) {
        const auto j = nlohmann::json::parse(line);
        const std::string header = j["name"].get<std::string>() + " \u00b7 seed " + j["seed"].dump() +
                                   " \u00b7 " + j["grade"].get<std::string>();
        EXPECT_TRUE(Has(texts[k], header)) << header << "\n" << texts[k];
    }
    EXPECT_EQ(k, 5u);
}

// A failure is one line, and the folder holds afterwards exactly what it held before: no
// book, no half a book, no temporary file, and a book already there untouched.
TEST(PuzzleBookFailure, LeavesNothingBehindAndSaysWhy) {
    test::TempDir dir;
    // A write cut short, as on a full disk: the file size limit stops the temporary file at 8 KB.
    const std::string kept = dir.File("kept.pdf");
    test::WriteText(kept, "the book of yesterday");
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const rlimit small{8192, before.rlim_max};
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::ostringstream out, err;
    const int status =
        RunGenerator({"--template", "Normal Puzzle Plus", "--seed", "7", "--pdf", kept}, out, err);
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status, 1);
    const std::string problem = err.str();
    EXPECT_EQ(std::count(problem.begin(), problem.end(), '\n'), 1) << problem;
    EXPECT_TRUE(Has(problem, "cannot write the puzzle book " + kept + ": File too large")) << problem;
    EXPECT_TRUE(test::ReadText(kept) == "the book of yesterday") << "the old book was changed";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "a file besides the old book";
}

// "Begin, then Add for puzzles 1 to count in order, then Finish": each call out of that order is
// refused in words, and a sink that fails, as a closed pipe, stops the book at once or at the next
// page.
TEST(PuzzleBookFailure, CallsOutOfOrderOrAfterAFailedWriteAreRefused) {
    BookSettings settings;
    settings.count = 1;
    settings.templates = {FindTemplate("Normal Puzzle Plus")};
    PuzzleState s;
    s.PuzzleName = "Normal Puzzle Plus";
    ASSERT_TRUE(GeneratePuzzle(s, 7));
    bool open = true;
    const PuzzleBook::Sink sink = [&](const char*, std::size_t) { return open; };
    PuzzleBook empty(settings), full(settings), torn(settings), cut(settings), refused(settings);
    EXPECT_EQ(PuzzleBook(settings).Add(s), "puzzle 1 does not belong in this book");
    EXPECT_EQ(PuzzleBook(settings).Finish(), "the puzzle book was not begun");
    ASSERT_EQ(std::tuple(empty.Begin(sink), full.Begin(sink), torn.Begin(sink), cut.Begin(sink)),
              std::tuple(NoProblem, NoProblem, NoProblem, NoProblem));
    EXPECT_EQ(empty.Finish(), "the puzzle book has 0 of its 1 puzzles");
    EXPECT_EQ(full.Add(s), NoProblem);
    EXPECT_EQ(full.Add(s), "puzzle 2 does not belong in this book");
    PuzzleState patternless = s; // its squares' pattern one short of the template's
    patternless.GridPattern.pop_back();
    EXPECT_EQ(torn.Add(patternless),
              "puzzle 1 (Normal Puzzle Plus) is not a generated puzzle: its grids do not have 225 cells");
    open = false;
    EXPECT_EQ(cut.Add(s), "cannot write the puzzle book");
    EXPECT_EQ(cut.Finish(), "the puzzle book was not begun");
    EXPECT_EQ(refused.Begin(sink), "cannot write the puzzle book");
}

} // namespace
} // namespace corvana
