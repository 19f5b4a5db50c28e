#include "puzzle/GeneratePuzzle.h"
#include "puzzle/NumberRoutines.h"
#include "puzzle/RandomSource.h"
#include "puzzle/Templates.h"
#include "solver/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <tuple>

using namespace corvana;

namespace {

// The numbers of `digits` cells the grid spells from each of `firsts`, `step` cells apart, sorted.
NumberList ReadNumbers(const PuzzleState& s, const std::vector<int>& firsts, int digits, int step = 1) {
    NumberList numbers;
    for (const int first : firsts) {
        std::int64_t& value = numbers.emplace_back(0);
        for (int m = 0; m < digits; ++m)
            value = value * 10 + s.SolutionArray[static_cast<std::size_t>(first + m * step)];
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void ExpectSortedAndPadded(const NumberList& numbers, const CaptionList& captions, int digits) {
    ASSERT_EQ(numbers.size(), captions.size());
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const std::string plain = std::to_string(numbers[k]);
        EXPECT_EQ(captions[k], std::string(static_cast<std::size_t>(digits) - plain.size(), '0') + plain);
    }
}

void CheckInvariants(const PuzzleState& s, const TemplateRecord& t) {
    const int w = t.Width();
    const auto cells = static_cast<std::size_t>(w * w);
    ASSERT_EQ(std::tuple(s.GridPattern.size(), s.SolutionArray.size(), s.UserArray.size()),
              std::tuple(cells, cells, cells));
    // The puzzle as the player sees it (the starting number given, shown or not) has one solution,
    // the generator's own.
    const FillIn shown = ShownPuzzle(s);
    const SolveResult solved = Solve(shown, 2);
    ASSERT_EQ(std::pair(solved.solutions, s.Solutions), std::pair(1, 1));
    for (std::size_t i = 0; i < cells; ++i) {
        EXPECT_EQ(s.GridPattern[i], !t.IsBlack(static_cast<int>(i)));
        EXPECT_EQ(solved.grids[0][i], s.GridPattern[i] ? s.SolutionArray[i] : -1);
        // A white square holds a digit the options allow (0 to 5 or 9), a black one -1.
        EXPECT_GE(s.SolutionArray[i], s.GridPattern[i] ? 0 : -1);
        EXPECT_LE(s.SolutionArray[i], s.GridPattern[i] ? (s.ReducedNumbers ? 5 : 9) : -1);
        const bool starter = int(i) >= s.StarterFirstCell && int(i) <= s.StarterLastCell;
        EXPECT_EQ(s.UserArray[i], starter && !s.NoShowFirst ? s.SolutionArray[i] : -1) << "cell " << i;
        EXPECT_EQ(shown.given[i], starter ? s.SolutionArray[i] : -1) << "cell " << i;
    }
    EXPECT_EQ(std::pair(s.StarterFirstCell, s.StarterLastCell),
              std::pair(t.StarterFirstCell(), t.StarterLastCell()));

    for (int n = kShortest; n <= kLongest; ++n) {
        SCOPED_TRACE(n);
        const auto at = static_cast<std::size_t>(n);
        const SlotGroup* group = t.Group(n);
        EXPECT_TRUE((group != nullptr && t.SeparateLists()) ||
                    (s.NumbersDown[at].empty() && s.CaptionsDown[at].empty()))
            << "a down list where the template has none";
        EXPECT_TRUE(group != nullptr || s.Numbers[at].empty()) << "a list where the template has none";
        if (group == nullptr)
            continue;
        ExpectSortedAndPadded(s.Numbers[at], s.Captions[at], n);

        // The across numbers are in the grid; the down numbers are what the grid spells.
        const NumberList across = ReadNumbers(s, group->across, n), down = ReadNumbers(s, group->down, n, w);
        for (const std::int64_t number : across)
            EXPECT_EQ(std::to_string(number).size(), at) << "no leading 0 in " << number;
        if (t.SeparateLists()) {
            ExpectSortedAndPadded(s.NumbersDown[at], s.CaptionsDown[at], n);
            EXPECT_EQ(std::pair(s.Numbers[at], s.NumbersDown[at]), std::pair(across, down));
        } else {
            NumberList all;
            std::merge(across.begin(), across.end(), down.begin(), down.end(), std::back_inserter(all));
            EXPECT_EQ(s.Numbers[at], all);
        }

        // Up to six digits, normal draws are raised apart unless only a seventh digit could do it.
        for (std::size_t k = 1; k < across.size(); ++k)
            if (!s.ReducedNumbers && n <= 6 && across[k] == across[k - 1]) {
                EXPECT_EQ(std::to_string(across[k]), std::string(at, '9'));
            }
    }
}

} // namespace

// Every build keeps the invariants and has one solution. Among the builds: Steps with a 0 in cell 93, where a
// 9-digit down number starts on the last digit of a 4-digit across one, so that down number keeps its leading
// zero in its caption and sorts first.
TEST(GeneratePuzzle, EveryTemplateKeepsItsInvariantsOverManySeedsAndOptions) {
    int downFromZero = 0, redrawn = 0;
    for (const auto& t : Templates())
        for (int options = 0; options < 4; ++options) {
            PuzzleState s;
            s.PuzzleName = std::string(t.name);
            s.ReducedNumbers = options & 1;
            s.NoShowFirst = options & 2;
            for (std::uint64_t seed = 0; seed < 40; ++seed) {
                SCOPED_TRACE(::testing::Message() << t.name << " options " << options << " seed " << seed);
                const GenerateResult made = GeneratePuzzle(s, seed);
                ASSERT_EQ(std::pair(made.ok, made.message), std::pair(true, std::string()));
                CheckInvariants(s, t);
                if (::testing::Test::HasFailure())
                    return;
                downFromZero += s.PuzzleName == "Normal Puzzle Steps" && s.SolutionArray[93] == 0;
                redrawn += s.Draws > 1;
            }
        }
    EXPECT_GT(downFromZero, 3);
    EXPECT_GT(redrawn, 5) << "some first draws have two solutions and are drawn again";
}

// No seed given, each build takes a clock seed of its own (that a seed makes the same puzzle again
// is corvana-gen's batch case); a build leaves nothing of the one before, and an unknown name
// changes nothing at all.
TEST(GeneratePuzzle, ClockSeedsDifferBuildsReplaceEachOtherAndAnUnknownNameChangesNothing) {
    PuzzleState a, b;
    a.PuzzleName = b.PuzzleName = "Large Puzzle Squares";
    ASSERT_TRUE(GeneratePuzzle(a) && GeneratePuzzle(b));
    EXPECT_NE(a.Seed, b.Seed) << "clock seeds differ";

    // A Small build after a Large one keeps nothing of it, nor of a 10-digit list it lacks.
    PuzzleState s = a;
    s.PuzzleName = "Small Puzzle Pinwheel";
    s.Numbers[10] = {1234567890};
    ASSERT_TRUE(GeneratePuzzle(s, 7));
    CheckInvariants(s, *FindTemplate("Small Puzzle Pinwheel"));
    const PuzzleState before = s;
    s.PuzzleName = "Large Puzzle four Electrodes";
    const GenerateResult unknown = GeneratePuzzle(s, 6);
    EXPECT_EQ(std::tuple(unknown.ok, unknown.message, s.SolutionArray, s.Captions, s.Seed),
              std::tuple(false, std::string(), before.SolutionArray, before.Captions, before.Seed));
}

// The number draws that fill every list.

// The exact draws of one seed, so a changed range, carry or raise shows at once.
TEST(FillNumbers, OneSeedDrawsExactlyTheseNumbers) {
    std::string message;
    // The six numbers drawn for 2, 3, ... 10 digits: normal, then reduced.
    const NumberList cases[][2] = {
        {{64, 39, 42, 40, 61, 43}, {42, 31, 32, 31, 41, 32}},
        {{704, 428, 466, 431, 668, 464}, {421, 250, 301, 250, 410, 301}},
        {{7108, 4321, 4706, 4349, 6747, 4683}, {4221, 2503, 3021, 2510, 4110, 3014}},
        {{71142, 43251, 47105, 43528, 67529, 46867}, {42110, 24552, 30131, 25023, 41000, 30102}},
        {{711490, 432551, 471096, 435319, 675350, 468713}, {422143, 250302, 302115, 251021, 411022, 301424}},
        {{7114964, 4325546, 4710997, 4353230, 6753558, 4687170},
         {4221443, 2503021, 3021152, 2510215, 4110231, 3014243}},
        {{71149708, 43255495, 47110014, 43532341, 67535644, 46871743},
         {42214435, 25030221, 30211530, 25102154, 41102321, 30142433}},
        {{711497150, 432554989, 471100180, 435323451, 675356504, 468717469},
         {422144401, 250302212, 302115305, 251021545, 411023222, 301424332}},
        {{7114971562, 4325549931, 4711001844, 4353234548, 6753565105, 4687174730},
         {4221444021, 2503022130, 3021153100, 2510215501, 4110232224, 3014243322}}};
    for (int n = 2; n <= 10; ++n)
        for (const bool reduced : {false, true}) {
            RandomSource random(2024);
            NumberList list;
            ASSERT_TRUE((n <= 8 ? FillNumbers : FillNumbersWide)(list, n, 6, reduced, random, message));
            EXPECT_EQ(list, cases[n - 2][reduced]) << n << (reduced ? " reduced" : "");
        }
    // More draws than there are numbers of 2 digits: equal draws are raised apart, so only the
    // largest number, which no raise fits, repeats.
    RandomSource random(7);
    NumberList many;
    ASSERT_TRUE(FillNumbers(many, 2, 200, false, random, message));
    std::sort(many.begin(), many.end());
    EXPECT_EQ(std::adjacent_find(many.begin(), many.end()) - many.begin(),
              std::find(many.begin(), many.end(), 99) - many.begin());
}

// FillNumbers draws 2 to 8 digits and FillNumbersWide 9 and 10; a length outside its range is
// reported, an empty count fails silently, and neither touches the list.
TEST(FillNumbers, UnsupportedLengthsAreReportedAndAnEmptyCountFailsSilently) {
    RandomSource random(1);
    NumberList list{42};
    for (const auto& [wide, n] : {std::pair{false, 9}, {true, 8}, {false, 1}, {true, 11}}) {
        std::string message, silent = "untouched";
        EXPECT_FALSE((wide ? FillNumbersWide : FillNumbers)(list, n, 4, false, random, message));
        EXPECT_EQ(message, "Values of length " + std::to_string(n) + " digit(s) not supported, only 2-10.");
        EXPECT_FALSE(FillNumbers(list, n, 0, false, random, silent) ||
                     FillNumbersWide(list, n, 0, false, random, silent));
        EXPECT_EQ(silent, "untouched") << "an empty count fails silently";
    }
    EXPECT_EQ(list, NumberList{42});
}

// A down number may begin with zeros, or be nothing but zeros: its caption shows every digit.
TEST(NumberRoutines, CaptionsShowEveryDigitOfANumberThatBeginsWithZeros) {
    NumberList numbers{12, 0, 7};
    CaptionList captions;
    EXPECT_TRUE(SortToCaptions(numbers, captions) && PadCaptions(captions, 3));
    EXPECT_EQ(captions, (CaptionList{"000", "007", "012"}));
}

// The digit counts whose lists take the Primary colour, per template.
TEST(PrimarySets, AllFifteenTemplates) {
    const std::map<std::string, std::vector<int>> expected = {
        {"Small Puzzle Pinwheel", {3}},          {"Small Puzzle H", {2, 10}},
        {"Small Puzzle Five Squares", {4}},      {"Small Puzzle Wheel", {3, 8}},
        {"Small Puzzle Project X", {2, 4, 8}},   {"Normal Puzzle Plus", {3, 7}},
        {"Normal Puzzle Steps", {3, 5, 7, 8}},   {"Normal Puzzle Shield", {2, 4, 5, 7}},
        {"Normal Puzzle Five Plus", {3, 5, 6}},  {"Normal Puzzle Broken Pieces", {3, 5, 7}},
        {"Normal Puzzle Angled", {3, 5, 8}},     {"Normal Puzzle HTT", {2, 4, 7}},
        {"Large Puzzle Crazy Eights", {3, 6}},   {"Large Puzzle Squares", {3, 5, 7}},
        {"Large Puzzle Four Electrodes", {3, 8}}};
    for (const auto& t : Templates())
        EXPECT_EQ(t.primary, expected.at(std::string(t.name))) << t.name;
}
