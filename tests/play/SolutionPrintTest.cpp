// The solution view, Restart, Show Starting Number and printing: each shows or puts on paper
// another state of the form and must give the user's own state back.

#include "PlayFixture.h"

#include "corvana/Version.h"

using namespace corvana;
using namespace corvana::test;

namespace {

const std::string kWrongStarter =
    "The program detected that one or more of the digits that comprises the "
    "starting number was incorrect.  Please check your work as it may be incorrect.";

class View : public ::testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(AllSizes, View, ::testing::ValuesIn(kAllSizes));

TEST_P(View, TheSolutionShowsEveryDigitAndTickTakesNoInputAndGivesTheUsersStateBack) {
    PlayFixture f(GetParam());
    const int a = f.FreeCell(), last = f.Count() - 1, black = f.FirstBlack();
    f.Type(black, 6); // a digit in a black square shows nothing in the solution
    f.Type(last, 8);
    f.Type(a, 4);
    const int picked = f.UntickedBox();
    f.form->BoxClick(picked);
    const int unpicked = f.UntickedBox();
    const std::string buffer = f.form->BufferText();
    const auto userBefore = f.puzzle.UserArray;
    const auto ticksBefore = f.TickedIds();
    const auto undoBefore = f.form->UndoArray();
    const std::string undoCaption = f.form->UndoCaption();

    f.form->mnuSolution_Click();
    EXPECT_TRUE(f.form->SolutionShown());
    EXPECT_EQ(f.form->UserGridFrame().caption, "Solution Grid");
    for (int i = 0; i < f.Count(); ++i) {
        EXPECT_EQ(f.Text(i), f.White(i) ? f.Sol(i) : "") << i;
        EXPECT_FALSE(f.Cell(i).enabled) << i;
        EXPECT_EQ(f.Cell(i).fore, f.InStarter(i) ? kRed : kBlack) << i;
    }
    for (const ListBox& box : f.form->Boxes())
        EXPECT_EQ(box.value, 1) << box.Name() << " " << box.index;
    EXPECT_EQ(f.Box(picked).tag, "True");
    EXPECT_EQ(f.Box(unpicked).tag, "False");
    EXPECT_FALSE(f.form->UndoEnabled());
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + buffer);
    EXPECT_EQ(f.puzzle.UserArray, userBefore) << "the solution's digits stay out of the user grid";
    EXPECT_TRUE(f.form->TrackEntries());
    // No keys, presses or undo while the solution is shown.
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Key(a, vk::Digit0 + (f.Solution(a) + 1) % 10), 0);
    f.Key(a, vk::Back);
    f.Key(a, vk::Delete);
    f.Key(a, vk::Right);
    f.form->txtGrid_MouseDown(a);
    EXPECT_EQ(f.Text(a), f.Sol(a));
    EXPECT_EQ(f.User(a), 4);
    EXPECT_TRUE(f.host.focus.empty());
    EXPECT_EQ(f.form->FillStartCell(), -1);
    EXPECT_EQ(f.Cell(a).back, kWhite);

    f.form->mnuSolution_Click();
    EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
    EXPECT_EQ(f.TickedIds(), ticksBefore);
    EXPECT_EQ(f.Box(picked).fore, f.colors.CheckedColor[f.K()]);
    EXPECT_EQ(f.Box(unpicked).tag, "");
    EXPECT_EQ(f.form->BufferText(), buffer);
    EXPECT_EQ(f.form->UndoArray(), undoBefore);
    EXPECT_EQ(f.form->UndoCaption(), undoCaption);
    EXPECT_TRUE(f.UserGridMatchesCells());
    for (int i = 0; i < f.Count(); ++i)
        EXPECT_TRUE(f.Cell(i).enabled) << i;
    EXPECT_EQ(f.dialogs.busyCalls, (std::vector<bool>{true, false, true, false}));
    f.form->mnuUndo_Click();
    EXPECT_EQ(f.Text(a), "");
    f.form->mnuSolution_Click();
    f.form->mnuSolution_Click();
    EXPECT_FALSE(f.form->UndoEnabled()) << "Undo comes back only with something to undo";

    // A user grid that cannot be kept aside is not switched.
    f.puzzle.UserArray.push_back(-1);
    f.form->mnuSolution_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text,
              "Could not save the user's current work.  Solution cannot be shown.");
    EXPECT_EQ(f.dialogs.messages[0].title, version::Title);
    EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_FALSE(f.form->SolutionShown());
    EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
    EXPECT_EQ(f.dialogs.busyCalls.back(), false);
    EXPECT_TRUE(f.Cell(a).enabled);
}

// Restart leaves only the shown starter and its tick, in the user grid or from the solution
// view (where the grid empties at once and the starter's tick survives the way back); the
// history stays, and nothing of a hidden starter shows, not even by a typed digit's colour.
TEST_P(View, RestartLeavesOnlyTheShownStarterWithItsBoxTicked) {
    for (const int kind : {0, 1, 2, 3}) {
        const bool hidden = kind % 2 == 1, inSolution = kind >= 2;
        SCOPED_TRACE(std::string(hidden ? "hidden" : "shown") + (inSolution ? " solution" : ""));
        PlayFixture f(GetParam(), hidden);
        const int first = f.puzzle.StarterFirstCell;
        f.Type(f.FreeCell(), 3);
        f.Type(first, (f.Solution(first) + 1) % 10);
        const int other = f.UntickedBox();
        f.form->BoxClick(other);
        f.form->BoxClick(f.UntickedBox(3));
        const auto undo = f.form->UndoArray();
        if (inSolution) {
            f.form->mnuSolution_Click();
            f.form->RestartGame();
            EXPECT_EQ(f.form->UserGridFrame().caption, "Solution Grid");
            for (int i = 0; i < f.Count(); ++i)
                EXPECT_EQ(f.Text(i), f.InStarter(i) && !hidden ? f.Sol(i) : "") << i;
            f.form->mnuSolution_Click();
        } else {
            f.form->RestartGame();
            EXPECT_EQ(f.form->UndoArray(), undo) << "the history stays";
            if (!hidden) {
                EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + f.StarterText());
            }
        }
        for (int i = 0; i < f.Count(); ++i) {
            const bool shown = f.InStarter(i) && !hidden;
            EXPECT_EQ(f.Text(i), shown ? f.Sol(i) : "") << i;
            EXPECT_EQ(f.Cell(i).fore, shown ? kRed : kBlack) << i;
            EXPECT_TRUE(f.Cell(i).enabled);
        }
        const auto ticked = f.TickedIds();
        ASSERT_EQ(ticked.size(), hidden ? 0u : 1u);
        if (!hidden) {
            EXPECT_EQ(f.Box(ticked[0]).caption, f.StarterText());
            EXPECT_EQ(f.Box(ticked[0]).fore, f.colors.CheckedColor[f.K()]);
        }
        f.Type(first, f.Solution(first));
        EXPECT_EQ(f.Cell(first).fore, hidden ? kBlack : kRed);
        EXPECT_TRUE(f.UserGridMatchesCells());
    }
}

// Right digits are shown without a word, a wrong one is reported and corrected, also from the
// solution view; no undo takes them away again; the starter's box is ticked and a later restart
// keeps the starter shown. With the starter shown there is nothing to reveal.
TEST_P(View, ShowingTheStartingNumberChecksCorrectsAndTicksIt) {
    PlayFixture shown(GetParam());
    const int wrong = (shown.Solution(shown.puzzle.StarterFirstCell) + 3) % 10;
    shown.Type(shown.puzzle.StarterFirstCell, wrong);
    shown.form->mnuShowStartingNumber_Click();
    EXPECT_EQ(shown.Text(shown.puzzle.StarterFirstCell), std::to_string(wrong));
    EXPECT_TRUE(shown.dialogs.messages.empty());
    for (const int kind : {0, 1, 2}) {
        const bool wrongDigit = kind > 0, inSolution = kind == 2;
        SCOPED_TRACE(kind);
        PlayFixture f(GetParam(), true);
        const int first = f.puzzle.StarterFirstCell;
        f.Type(first, f.Solution(first));
        if (wrongDigit)
            f.Type(first + 1, (f.Solution(first + 1) + 5) % 10);
        if (inSolution)
            f.form->mnuSolution_Click();
        f.form->mnuShowStartingNumber_Click();
        ASSERT_EQ(f.dialogs.messages.size(), wrongDigit ? 1u : 0u);
        if (wrongDigit) {
            EXPECT_EQ(f.dialogs.messages[0].text, kWrongStarter);
            EXPECT_EQ(f.dialogs.messages[0].title, version::ProductName);
            EXPECT_EQ(f.dialogs.messages[0].buttons, Buttons::Ok);
        }
        if (inSolution)
            f.form->mnuSolution_Click();
        EXPECT_FALSE(f.form->UndoEnabled());
        f.form->mnuUndo_Click();
        for (int i = first; i <= f.puzzle.StarterLastCell; ++i) {
            EXPECT_EQ(f.Text(i), f.Sol(i));
            EXPECT_EQ(f.Cell(i).fore, kRed);
        }
        EXPECT_FALSE(f.form->StarterHidden());
        EXPECT_FALSE(f.form->ShowStartingNumberVisible());
        ASSERT_EQ(f.TickedIds().size(), 1u);
        EXPECT_EQ(f.Box(f.TickedIds()[0]).caption, f.StarterText());
        EXPECT_TRUE(f.UserGridMatchesCells());
        f.form->RestartGame();
        EXPECT_EQ(f.Text(first), f.Sol(first));
        EXPECT_EQ(f.TickedIds().size(), 1u);
    }
}

// Everything the window shows that printing may change; hidden boxes and labels show nothing.
struct Shown {
    std::vector<std::string> texts;
    std::vector<ColorValue> colours; // cells, then boxes (fore, back), labels (fore, back), frames
    std::vector<int> ticks;
    std::vector<std::int16_t> user;
    std::string buffer;
    bool fromAcross = false, solution = false;
    bool operator==(const Shown& o) const {
        return texts == o.texts && colours == o.colours && ticks == o.ticks && user == o.user &&
               buffer == o.buffer && fromAcross == o.fromAcross && solution == o.solution;
    }
};

Shown Take(const PlayFixture& f) {
    Shown s;
    for (const auto& cell : f.form->Cells()) {
        s.texts.push_back(cell.text);
        s.colours.push_back(cell.fore);
    }
    for (const auto& box : f.form->Boxes()) {
        s.ticks.push_back(box.value);
        s.colours.insert(s.colours.end(), {box.visible ? box.fore : -1, box.visible ? box.back : -1});
    }
    for (const auto& label : f.form->Labels())
        s.colours.insert(s.colours.end(), {label.visible ? label.fore : -1, label.visible ? label.back : -1});
    // fraWork has no caption, so only its background shows.
    s.colours.insert(s.colours.end(), {f.form->UserGridFrame().fore, f.form->UserGridFrame().back,
                                       f.form->WorkFrame().back, f.form->FormBackColor()});
    s.user = f.puzzle.UserArray;
    s.buffer = f.form->BufferCaption();
    s.fromAcross = f.form->BufferFromAcross();
    s.solution = f.form->SolutionShown();
    return s;
}

// What each kind of print puts on paper, black on white with the credit line, and that the
// window comes back exactly as it was: 0 the puzzle with only the shown starting number and its
// tick, 1 the user's own grid (even from the solution view), 2 the solution with every box
// ticked; a cancelled or failing printer, an unknown kind, a starter the user unticked.
TEST(PlayPrint, EachKindPrintsItsGridBlackOnWhiteAndRestoresTheWindow) {
    const struct {
        const char* name;
        int kind;
        bool hidden, fromSolution, untickStarter;
        PrintResult result;
        const char* message;
    } cases[] = {
        {"Small Puzzle Wheel", 0, false, false, false, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Normal Puzzle Angled", 0, true, false, false, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Large Puzzle Crazy Eights", 0, false, false, false, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Small Puzzle Project X", 1, false, true, false, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Large Puzzle Four Electrodes", 2, true, false, false, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Large Puzzle Squares", 1, false, false, false, {PrintResult::Outcome::Cancelled, "", 0}, ""},
        {"Normal Puzzle Shield",
         2,
         false,
         false,
         false,
         {PrintResult::Outcome::Failed, "Cannot write x", 0},
         "The puzzle could not be printed.\r\nCannot write x"},
        {"Normal Puzzle Shield",
         0,
         false,
         false,
         false,
         {PrintResult::Outcome::Failed, "No room", 28},
         "28\r\nNo room"},
        {"Small Puzzle H", 0, false, false, true, {PrintResult::Outcome::Printed, "", 0}, ""},
        {"Small Puzzle H", 7, false, false, false, {PrintResult::Outcome::Printed, "", 0}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.kind));
        PlayFixture p(c.name, c.hidden, 23);
        Shown during;
        std::string copyright;
        bool blackOnWhite = true, tracked = true;
        p.host.onPrint = [&] {
            during = Take(p);
            tracked = p.form->TrackEntries();
            for (const auto& label : p.form->Labels())
                if (label.name == "lblCopyright")
                    copyright = label.visible ? label.caption : "";
            const auto bw = [&](ColorValue fore, ColorValue back) {
                blackOnWhite = blackOnWhite && fore == kBlack && back == kWhite;
            };
            for (const auto& box : p.form->Boxes())
                bw(box.fore, box.back);
            for (const auto& label : p.form->Labels())
                bw(label.fore, label.back);
            for (const auto& cell : p.form->Cells())
                bw(cell.fore, kWhite);
            bw(p.form->UserGridFrame().fore, p.form->UserGridFrame().back);
            bw(p.form->WorkFrame().fore, p.form->WorkFrame().back);
            bw(kBlack, p.form->FormBackColor());
            return c.result;
        };
        // Some play: digits in a few white cells, two boxes ticked, a number in the buffer.
        for (int i = 0, typed = 0; i < p.Count() && typed < 5; ++i)
            if (p.White(i) && !p.InStarter(i))
                p.form->SetCellText(i, std::to_string(3 + typed++));
        p.form->BoxClick(c.untickStarter ? p.TickedIds().at(0) : p.UntickedBox());
        p.form->BoxClick(p.UntickedBox());
        const Shown before = Take(p);
        if (c.fromSolution)
            p.form->mnuSolution_Click();
        p.form->PrintPuzzle(c.kind);
        EXPECT_EQ(Take(p), before) << "the window comes back as it was";
        EXPECT_TRUE(p.form->TrackEntries());
        EXPECT_EQ(p.Texts(), *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        for (const auto& label : p.form->Labels())
            if (label.name == "lblCopyright") {
                EXPECT_FALSE(label.visible);
            }
        if (c.kind > 2) {
            EXPECT_EQ(p.host.prints, 0) << "an unknown kind prints nothing";
            continue;
        }
        ASSERT_EQ(p.host.prints, 1);
        EXPECT_TRUE(blackOnWhite) << "no colour on paper";
        EXPECT_FALSE(tracked) << "what the page shows must not reach the user's grid";
        EXPECT_EQ(copyright, std::string("(c) ") + c.name + " by the Corvana developers");
        int ticked = 0;
        for (const int tick : during.ticks)
            ticked += tick;
        for (int i = 0; i < p.Count(); ++i) {
            const std::string solution = p.White(i) ? p.Sol(i) : "";
            const bool starter = p.InStarter(i) && !c.hidden;
            EXPECT_EQ(during.texts[Ix(i)], c.kind == 0   ? (starter ? solution : "")
                                           : c.kind == 1 ? before.texts[Ix(i)]
                                                         : solution)
                << i;
        }
        if (c.kind == 0)
            EXPECT_EQ(ticked, c.hidden ? 0 : 1) << "only the starting number's box";
        else if (c.kind == 1)
            EXPECT_EQ(during.ticks, before.ticks);
        else
            EXPECT_EQ(ticked, static_cast<int>(during.ticks.size()));
        // Typing after a print still reaches the user's grid.
        const int cell = p.FreeCell();
        p.form->SetCellText(cell, "8");
        EXPECT_EQ(p.User(cell), 8);
    }
}

} // namespace
