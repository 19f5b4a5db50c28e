// The solution view, Restart, Show Starting Number and printing: each shows or puts on paper
// another state of the form and must give the user's own state back.

#include "PlayFixture.h"

using namespace corvana;
using namespace corvana::test;

namespace {

class View : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, View, ::testing::ValuesIn(kAllSizes));

TEST_P(View, TheSolutionShowsEveryDigitAndTickTakesNoInputAndGivesTheUsersStateBack) {
    PlayFixture f(GetParam());
    const int a = f.FreeCell();
    f.Type(a, 4);
    const int picked = f.UntickedBox();
    f.form->BoxClick(picked);
    const int unpicked = f.UntickedBox();
    const std::string before = Picture(*f.form), buffer = f.form->BufferCaption();
    f.form->SetCellText(f.FirstBlack(), "6"); // shows nothing in the solution, and is dropped on the way back
    const auto user = f.puzzle.UserArray;

    f.form->mnuSolution_Click();
    EXPECT_EQ(f.form->UserGridFrame().caption + f.form->BufferCaption(), "Solution Grid" + buffer);
    EXPECT_EQ(f.Grid(), f.GridOf([&](int i) { return f.White(i) ? f.Sol(i) : ""; }));
    EXPECT_EQ(f.Colours(), f.GridOf([&](int i) { return f.InStarter(i) ? "rx" : "kx"; }));
    EXPECT_EQ(std::tuple(f.TickedIds().size(), f.Box(picked).keptTick, f.Box(unpicked).keptTick),
              std::tuple(f.form->Boxes().size(), std::optional(true), std::optional(false)));
    EXPECT_EQ(f.puzzle.UserArray, user) << "the solution's digits stay out of the user grid";
    // No keys, presses or undo while the solution is shown.
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Key(a, vk::Digit0 + (f.Solution(a) + 1) % 10), 0);
    for (const int key : {vk::Back, vk::Delete, vk::Right})
        f.Key(a, key);
    f.form->txtGrid_MouseDown(a);
    EXPECT_EQ(std::tuple(f.Entry(a), f.host.focus.empty(), f.form->FillStartCell(), f.Cell(a).back),
              std::tuple(f.Sol(a) + ":4", true, -1, kWhite));
    f.form->mnuHint_Click(); // nor help, which works on the user's grid
    EXPECT_EQ(f.form->StatusText(), "Hint works on your own grid: switch back from the solution first.");
    f.form->mnuCheck_Click();
    EXPECT_EQ(f.form->StatusText(), "Check works on your own grid: switch back from the solution first.");

    f.form->mnuSolution_Click();
    EXPECT_EQ(Picture(*f.form), before) << "the user's grid, ticks, buffer and undo come back";
    EXPECT_EQ(f.dialogs.busyCalls, (std::vector<bool>{true, false, true, false}));
    f.form->BoxClick(picked); // unticked now, it stays so through another look at the solution
    f.form->mnuSolution_Click();
    f.form->mnuSolution_Click();
    EXPECT_EQ(f.Box(picked).value, 0);
    f.form->BoxClick(picked); // ticks kept aside by the solution view go with their game
    f.form->mnuSolution_Click();
    f.form->LoadPuzzle(false);
    EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid") << "a new game starts in the user's grid";
    f.form->mnuSolution_Click();
    f.form->mnuSolution_Click();
    EXPECT_EQ(f.Box(picked).value, 0) << "a new game starts with none of them";

    // A user grid that cannot be kept aside is not switched.
    f.puzzle.UserArray.push_back(-1);
    const std::string unswitched = Picture(*f.form);
    f.form->mnuSolution_Click();
    EXPECT_EQ(f.dialogs.messages,
              std::vector{Notice("Could not save the user's current work.  Solution cannot be shown.")});
    EXPECT_EQ(std::pair(Picture(*f.form), bool{f.dialogs.busyCalls.back()}), std::pair(unswitched, false));
}

// Restart leaves only the shown starter and its tick, in the user grid or from the solution
// view (where the grid empties at once and the starter's tick survives the way back); the
// history stays, and nothing of a hidden starter shows, not even by a typed digit's colour.
TEST_P(View, RestartLeavesOnlyTheShownStarterWithItsBoxTicked) {
    for (const int kind : {0, 1, 2, 3}) {
        const bool hidden = kind % 2 == 1, inSolution = kind >= 2;
        PlayFixture f(GetParam(), hidden);
        const int first = f.puzzle.StarterFirstCell;
        const auto starter = [&](int i) { return f.InStarter(i) && !hidden ? f.Sol(i) : ""; };
        f.Type(f.FreeCell(), 3);
        f.Type(first, (f.Solution(first) + 1) % 10);
        f.form->BoxClick(f.UntickedBox());
        f.form->BoxClick(f.UntickedBox(3));
        const std::string undo = f.Undo();
        if (inSolution) {
            f.form->mnuSolution_Click();
            f.form->RestartGame();
            EXPECT_EQ(f.form->UserGridFrame().caption + f.Grid(), "Solution Grid" + f.GridOf(starter));
            f.form->mnuSolution_Click();
        } else {
            f.form->RestartGame();
            EXPECT_EQ(std::pair(f.Undo(), f.form->BufferCaption()), // the history stays
                      std::pair(undo, "Buffer = " + (hidden ? f.form->BufferText() : f.StarterText())));
        }
        EXPECT_EQ(f.Grid(), f.GridOf(starter));
        EXPECT_EQ(f.Colours(), f.GridOf([&](int i) { return f.InStarter(i) && !hidden ? "r" : "k"; }));
        std::string ticks;
        for (const int id : f.TickedIds())
            ticks += f.Box(id).caption + (f.Box(id).fore == f.colors.CheckedColor[f.K()] ? " checked" : "");
        EXPECT_EQ(ticks, hidden ? "" : f.StarterText() + " checked");
        f.Type(first, f.Solution(first));
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed);
        f.Key(first, vk::Back); // a shown starter the user clears is the first hint, red as given
        f.form->mnuHint_Click();
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed) << f.form->StatusText();
        if (!hidden) { // named by its first square, counted from 1
            EXPECT_EQ(f.form->StatusText(),
                      f.StarterText() + " goes across at row " + std::to_string(first / f.W() + 1) +
                          ", column " + std::to_string(first % f.W() + 1) + ": it is the starting number.");
        }
    }
}

// Right digits are shown without a word, a wrong one is reported and corrected, also from the
// solution view; no undo takes them away again; the starter's box is ticked and a later restart
// keeps the starter shown. With the starter shown there is nothing to reveal.
TEST_P(View, ShowingTheStartingNumberChecksCorrectsAndTicksIt) {
    const Message wrongStarter =
        Notice("The program detected that one or more of the digits that comprises the starting number was "
               "incorrect.  Please check your work as it may be incorrect.");
    PlayFixture shown(GetParam());
    const int at = shown.puzzle.StarterFirstCell, wrong = (shown.Solution(at) + 3) % 10;
    shown.Type(at, wrong);
    shown.form->mnuShowStartingNumber_Click();
    EXPECT_EQ(shown.Text(at), std::to_string(wrong));
    EXPECT_TRUE(shown.dialogs.messages.empty()) << shown.dialogs.messages[0];
    PlayFixture apart(GetParam(), true, 20);
    apart.Type(apart.FreeCell(), 5);
    apart.form->mnuShowStartingNumber_Click();
    EXPECT_TRUE(apart.form->UndoEnabled()) << "a step away from the starting number stays undoable";
    for (const int kind : {0, 1, 2}) {
        PlayFixture f(GetParam(), true, 20); // seed 20: the Small form's starter is its very first box
        const int first = f.puzzle.StarterFirstCell;
        f.Type(first, f.Solution(first));
        if (kind > 0)
            f.Type(first + 1, (f.Solution(first + 1) + 5) % 10);
        if (kind == 2)
            f.form->mnuSolution_Click();
        f.form->mnuShowStartingNumber_Click();
        EXPECT_EQ(f.dialogs.messages, std::vector<Message>(kind == 0 ? 0 : 1, wrongStarter));
        if (kind == 2)
            f.form->mnuSolution_Click();
        EXPECT_EQ(f.Undo(), "0 |Undo |off");
        f.form->mnuUndo_Click();
        EXPECT_EQ(f.Run(first, f.puzzle.StarterLastCell - first + 1, 1), f.StarterText());
        EXPECT_EQ(f.Colours(), f.GridOf([&](int i) { return f.InStarter(i) ? "r" : "k"; }));
        EXPECT_FALSE(f.form->StarterHidden() || f.form->ShowStartingNumberVisible());
        EXPECT_TRUE(f.form->Assisted()) << "a game with its starting number revealed is a helped one";
        ASSERT_EQ(f.TickedIds().size(), 1u);
        EXPECT_EQ(f.Box(f.TickedIds()[0]).caption, f.StarterText());
        f.form->RestartGame();
        EXPECT_EQ(f.Text(first) + std::to_string(f.TickedIds().size()), f.Sol(first) + "1");
    }
}

// What each kind of print puts on paper (its colours and credit line are the window test's), and
// that the window comes back exactly as it was: 0 the puzzle with only the shown starting number and its
// tick, 1 the user's own grid (even from the solution view), 2 the solution with every box
// ticked; a cancelled or failing printer, a starter the user unticked.
TEST(PlayPrint, EachKindPrintsItsGridAndRestoresTheWindow) {
    using O = PrintResult::Outcome;
    const struct {
        const char* name;
        int kind;
        // h: starter hidden, s: from the solution view, u: starter unticked, hd: hidden and a DOWN box ticked
        // before the ACROSS one that fills the buffer; then the message the print leaves
        std::string how, message;
        PrintResult result;
    } cases[] = {
        {"Normal Puzzle Angled", 0, "h", "", {O::Printed, "", 0}},
        {"Small Puzzle Project X", 1, "s", "", {O::Printed, "", 0}},
        {"Small Puzzle Wheel", 0, "s", "", {O::Printed, "", 0}},
        {"Large Puzzle Four Electrodes", 2, "h", "", {O::Printed, "", 0}},
        {"Large Puzzle Squares", 1, "", "", {O::Cancelled, "", 0}},
        {"Normal Puzzle Shield", 2, "", "The puzzle could not be printed.\r\nx", {O::Failed, "x", 0}},
        {"Normal Puzzle Shield", 0, "", "28\r\nNo room", {O::Failed, "No room", 28}},
        {"Small Puzzle H", 0, "u", "", {O::Printed, "", 0}},
        {"Small Puzzle H", 1, "", "", {O::Printed, "", 0}}, // its starting number at the first square
        {"Large Puzzle Squares", 0, "hd", "", {O::Printed, "", 0}}};
    for (const auto& c : cases) {
        const bool hidden = c.how[0] == 'h';
        PlayFixture p(c.name, hidden, 23);
        std::string grid;
        std::vector<int> ticks;
        bool tracked = true, inked = true; // every digit black, every list box black on white
        p.host.onPrint = [&] {
            for (const ListBox& b : p.form->Boxes())
                inked = inked && (!b.visible || (b.fore == kBlack && b.back == kWhite));
            inked = inked && p.Colours().find_first_of("r?") == std::string::npos;
            std::tie(grid, ticks, tracked) = std::tuple(p.Grid(), p.TickedIds(), p.form->TrackEntries());
            return c.result;
        };
        // Some play: digits in a few white cells, two boxes ticked, a number in the buffer.
        for (int i = 0, typed = 0; i < p.Count() && typed < 5; ++i)
            if (p.White(i) && !p.InStarter(i))
                p.form->SetCellText(i, std::to_string(3 + typed++));
        p.form->BoxClick(c.how == "u"    ? p.TickedIds().at(0)
                         : c.how == "hd" ? p.form->FindBox(p.Box(p.UntickedBox()).digits, true, 0)
                                         : p.UntickedBox());
        p.form->BoxClick(p.UntickedBox());
        const std::string before = Picture(*p.form) + p.form->BufferCaption(), userGrid = p.Grid();
        const std::size_t ticksOfKind[] = {hidden ? 0u : 1u, p.TickedIds().size(), p.form->Boxes().size()};
        if (c.how == "s")
            p.form->mnuSolution_Click();
        p.form->PrintPuzzle(static_cast<PrintKind>(c.kind));
        EXPECT_EQ(Picture(*p.form) + p.form->BufferCaption(), before) << "the window comes back as it was";
        EXPECT_EQ(p.dialogs.messages, std::vector<Message>(c.message.empty() ? 0 : 1, Notice(c.message)));
        // One print, its list boxes black on white, and what the page shows kept from the user's grid.
        EXPECT_EQ(std::tuple(p.host.prints, tracked, inked), std::tuple(1, false, true)) << c.name;
        EXPECT_EQ(p.form->Assisted(), c.how == "s" || c.kind == 2) << "only the solution helps";
        const auto solution = [&](int i) { return p.White(i) ? p.Sol(i) : ""; };
        const auto starter = [&](int i) { return p.InStarter(i) && !hidden ? p.Sol(i) : ""; };
        EXPECT_EQ(grid, c.kind == 0 ? p.GridOf(starter) : c.kind == 1 ? userGrid : p.GridOf(solution));
        EXPECT_EQ(ticks.size(), ticksOfKind[c.kind]);
        // Typing after a print still reaches the user's grid.
        p.form->SetCellText(p.FreeCell(), "8");
        EXPECT_EQ(p.User(p.FreeCell()), 8);
    }
}

} // namespace
