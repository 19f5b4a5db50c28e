// Hint and Check on the play form.

#include "PlayFixture.h"

using namespace corvana;
using namespace corvana::test;

namespace {

class Help : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, Help, ::testing::ValuesIn(kAllSizes));

// The cells Check has marked, as the window shows them.
std::vector<int> Marked(const PlayFixture& f) {
    std::vector<int> out;
    for (int i = 0; i < f.Count(); ++i)
        if (f.Cell(i).wrong)
            out.push_back(i);
    return out;
}

// What Hint and Check say of a grid the rules cannot read.
const std::string kUnread = "The puzzle cannot be read: the grid does not have the puzzle's squares.";

} // namespace

// The rules cannot tell a wrong digit from a right one, so Hint places nothing and says how many
// squares are wrong; Check marks exactly that square, on screen only, until it changes.
TEST_P(Help, AWrongDigitMakesHintRefuseAndCheckMarkExactlyThatSquare) {
    PlayFixture f(GetParam());
    const int a = f.FreeCell();
    f.Type(a, (f.Solution(a) + 1) % 10);
    const std::string before = Picture(*f.form), undo = f.Undo();

    f.form->mnuHint_Click();
    EXPECT_EQ(f.form->StatusText(),
              "1 square is wrong, so there is no hint until it is put right: Check shows which.");
    EXPECT_EQ(Picture(*f.form) + f.Undo(), before + undo);

    f.form->mnuCheck_Click();
    EXPECT_EQ(std::tuple(f.form->StatusText(), Marked(f)), std::tuple("1 square is wrong", std::vector{a}));
    // Not on the solution, nor on paper; back on the user grid afterwards.
    f.form->mnuSolution_Click();
    EXPECT_EQ(Marked(f), std::vector<int>{});
    f.form->mnuSolution_Click();
    std::vector<int> markedOnPaper{-1};
    f.host.onPrint = [&] { return markedOnPaper = Marked(f), PrintResult{}; };
    f.form->PrintPuzzle(PrintKind::Current);
    EXPECT_EQ(std::pair(markedOnPaper, Marked(f)), std::pair(std::vector<int>{}, std::vector<int>{a}));

    f.Type(a, f.Solution(a));
    EXPECT_EQ(Marked(f), std::vector<int>{}) << "a changed square is no longer judged";
    f.form->mnuSolution_Click();
    f.form->mnuSolution_Click();
    EXPECT_EQ(Marked(f), std::vector<int>{}) << "nor when the user grid comes back";
    f.form->mnuCheck_Click();
    EXPECT_EQ(f.form->StatusText().rfind("No mistakes so far: ", 0), 0u) << f.form->StatusText();
    EXPECT_EQ(std::tuple(f.form->HintsUsed(), f.form->ChecksUsed(), f.form->Assisted()),
              std::tuple(1, 2, true));
    f.Type(a, (f.Solution(a) + 1) % 10);
    f.form->mnuCheck_Click();
    f.form->LoadPuzzle(false);
    EXPECT_EQ(Marked(f), std::vector<int>{}) << "a new game starts unmarked";
    f.puzzle.PuzzleName = "No Such Puzzle"; // a grid the rules cannot read: Check says so
    f.form->mnuCheck_Click();
    EXPECT_EQ(f.form->StatusText(), kUnread);
}

// A hint writes one number as AutoFill does, ticks it and leaves the buffer alone; Undo takes
// the whole hint back, tick included.
TEST_P(Help, AHintPlacesOneNumberAndUndoTakesItBackWhole) {
    PlayFixture f(GetParam());
    f.Pick(f.Box(f.UntickedBox()).digits, 1);
    const std::string before = Picture(*f.form), buffer = f.form->BufferText();
    const auto user = f.puzzle.UserArray;

    f.form->mnuHint_Click();
    EXPECT_EQ(f.form->BufferText(), buffer);
    const std::string said = f.form->StatusText(), number = said.substr(0, said.find(' '));
    EXPECT_THAT(said, testing::HasSubstr(" goes "));
    int changed = 0;
    for (int i = 0; i < f.Count(); ++i)
        if (f.User(i) != user[Ix(i)]) {
            ++changed;
            EXPECT_EQ(f.User(i), f.Solution(i)) << i;
        }
    EXPECT_TRUE(changed > 0 && changed <= static_cast<int>(number.size())) << changed << " squares changed";
    // One undo step for the number, and a hinted game is a helped one.
    EXPECT_EQ(std::pair(f.form->UndoCaption(), f.form->Assisted()), std::pair("Undo " + number, true));

    f.form->mnuUndo_Click();
    EXPECT_EQ(f.puzzle.UserArray, user);
    const std::string after = Picture(*f.form);
    // The cells, the ticks and the colours.
    EXPECT_EQ(after.substr(0, after.find('|')), before.substr(0, before.find('|'))) << "as before the hint";
    // Hint after hint to the end, each building on the last (else it would not end): each ticks its
    // number's first copy not yet ticked, in the list it goes in.
    const bool fromAcross = f.form->BufferFromAcross(); // the list the buffer came from, as it stays
    for (int hints = 0; hints < f.Count(); ++hints) {   // each places a number: never more than squares
        std::vector<int> expected = f.TickedIds();
        f.form->mnuHint_Click();
        const std::string now = f.form->StatusText(), n = now.substr(0, now.find(' '));
        if (now.find(" goes ") == std::string::npos)
            break;
        const bool down = f.form->Config().separateLists && now.find(" goes down") != std::string::npos;
        for (int id = 0; id < static_cast<int>(f.form->Boxes().size()); ++id)
            if (f.Box(id).visible && f.Box(id).caption == n && f.Box(id).down == down &&
                !std::count(expected.begin(), expected.end(), id)) {
                expected.insert(std::upper_bound(expected.begin(), expected.end(), id), id);
                break;
            }
        EXPECT_EQ(std::pair(f.TickedIds(), f.form->BufferFromAcross()), std::pair(expected, fromAcross))
            << now;
    }
    EXPECT_EQ(f.form->StatusText(), "Nothing to hint: the puzzle is solved.");
    f.puzzle.PuzzleName = "No Such Puzzle"; // a grid the rules cannot read: Hint says so
    f.form->mnuHint_Click();
    EXPECT_EQ(f.form->StatusText(), kUnread);
}
