#include "PlayFixture.h"

using namespace corvana;
using namespace corvana::test;

namespace {

struct Snapshot {
    std::vector<std::string> texts;
    std::vector<ColorValue> fores;
    std::vector<int> ticks;
    std::vector<ColorValue> boxColors;
    std::vector<ColorValue> headingColors;
    std::vector<std::int16_t> user;
    std::string buffer;
    std::string bufferCaption;
    bool solutionShown;
    bool fromAcross;
};

// The play form with a printer that records what the form showed while it printed.
struct Printing : PlayFixture {
    explicit Printing(const std::string& name, bool noShowFirst = false)
        : PlayFixture(name, noShowFirst, 23) {
        host.onPrint = [this] {
            during = Take();
            trackedDuring = form->TrackEntries();
            for (const auto& label : form->Labels())
                if (label.name == "lblCopyright")
                    copyright = label.visible ? label.caption : "";
            blackOnWhite = true;
            for (const auto& box : form->Boxes())
                blackOnWhite = blackOnWhite && box.fore == kBlack && box.back == kWhite;
            for (const auto& label : form->Labels())
                blackOnWhite = blackOnWhite && label.fore == kBlack && label.back == kWhite;
            blackOnWhite =
                blackOnWhite && form->UserGridFrame().fore == kBlack && form->FormBackColor() == kWhite;
            for (const auto& cell : form->Cells())
                blackOnWhite = blackOnWhite && cell.fore == kBlack;
            return answer;
        };
    }

    // Some play: digits in a few white cells, two boxes ticked, a number in the buffer.
    void Play() {
        int typed = 0;
        for (int i = 0; i < Count() && typed < 5; ++i)
            if (White(i) && !InStarter(i)) {
                form->SetCellText(i, std::to_string(typed + 3));
                ++typed;
            }
        form->BoxClick(UntickedBox());
        form->BoxClick(UntickedBox());
    }

    Snapshot Take() const {
        Snapshot s;
        for (const auto& cell : form->Cells()) {
            s.texts.push_back(cell.text);
            s.fores.push_back(cell.fore);
        }
        for (const auto& box : form->Boxes()) {
            s.ticks.push_back(box.value);
            // Hidden boxes of unused lists show nothing, whatever their colour.
            s.boxColors.push_back(box.visible ? box.fore : -1);
        }
        for (const auto& label : form->Labels()) {
            s.headingColors.push_back(label.visible ? label.fore : -1);
            s.headingColors.push_back(label.visible ? label.back : -1);
        }
        s.user = puzzle.UserArray;
        s.buffer = form->BufferText();
        s.bufferCaption = form->BufferCaption();
        s.solutionShown = form->SolutionShown();
        s.fromAcross = form->BufferFromAcross();
        return s;
    }

    void ExpectRestored(const Snapshot& before) const {
        const Snapshot after = Take();
        EXPECT_EQ(after.texts, before.texts);
        EXPECT_EQ(after.fores, before.fores) << "red starting digits come back";
        EXPECT_EQ(after.ticks, before.ticks);
        EXPECT_EQ(after.boxColors, before.boxColors);
        EXPECT_EQ(after.headingColors, before.headingColors) << "the list headings get their colours back";
        EXPECT_EQ(after.user, before.user);
        EXPECT_EQ(after.buffer, before.buffer);
        EXPECT_EQ(after.bufferCaption, before.bufferCaption);
        EXPECT_EQ(after.fromAcross, before.fromAcross);
        EXPECT_TRUE(form->TrackEntries());
        EXPECT_EQ(form->FormBackColor(),
                  colors.BackgroundColor[static_cast<std::size_t>(form->Config().ColorIndex())]);
        for (const auto& label : form->Labels())
            if (label.name == "lblCopyright") {
                EXPECT_FALSE(label.visible);
            }
    }

    PrintResult answer{PrintResult::Outcome::Printed, ""};
    Snapshot during;
    std::string copyright;
    bool blackOnWhite = false;
    bool trackedDuring = true;
};

} // namespace

// What each kind of print puts on paper, black on white with the credit line, and that the
// window comes back as it was: 0 the puzzle with only the shown starting number and its tick,
// 1 the user's own grid (even from the solution view), 2 the solution with every box ticked.
TEST(PlayPrint, EachKindPrintsItsGridBlackOnWhiteAndRestoresTheWindow) {
    struct Case {
        const char* name;
        int kind;
        bool hidden;
        bool fromSolution;
    };
    for (const Case& c :
         {Case{"Small Puzzle Wheel", 0, false, false}, Case{"Normal Puzzle Angled", 0, true, false},
          Case{"Large Puzzle Crazy Eights", 0, false, false}, Case{"Small Puzzle Project X", 1, false, true},
          Case{"Large Puzzle Four Electrodes", 2, true, false}}) {
        SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.kind));
        Printing p(c.name, c.hidden);
        p.Play();
        const Snapshot before = p.Take();
        if (c.fromSolution)
            p.form->mnuSolution_Click();
        p.form->PrintPuzzle(c.kind);
        ASSERT_EQ(p.host.prints, 1);
        EXPECT_TRUE(p.blackOnWhite) << "no red on paper";
        EXPECT_FALSE(p.trackedDuring) << "what the page shows must not reach the user's grid";
        EXPECT_EQ(p.copyright, std::string("(c) ") + c.name + " by the Corvana developers");
        int ticked = 0;
        for (const int tick : p.during.ticks)
            ticked += tick;
        for (int i = 0; i < p.Count(); ++i) {
            const bool starter = p.InStarter(i) && !c.hidden;
            const std::string solution = p.White(i) ? std::to_string(p.Solution(i)) : "";
            const std::string expected = c.kind == 0   ? (starter ? solution : "")
                                         : c.kind == 1 ? before.texts[Ix(i)]
                                                       : solution;
            EXPECT_EQ(p.during.texts[Ix(i)], expected) << i;
        }
        if (c.kind == 0)
            EXPECT_EQ(ticked, c.hidden ? 0 : 1) << "only the starting number's box";
        else if (c.kind == 1)
            EXPECT_EQ(p.during.ticks, before.ticks);
        else
            EXPECT_EQ(ticked, static_cast<int>(p.during.ticks.size()));
        EXPECT_FALSE(p.form->SolutionShown()) << "the user grid comes back";
        p.ExpectRestored(before);
        EXPECT_TRUE(p.dialogs.messages.empty());
    }
}

TEST(PlayPrint, ACancelledOrFailingPrinterRestoresTheWindow) {
    Printing p("Normal Puzzle Shield");
    p.Play();
    const Snapshot before = p.Take();
    p.answer = {PrintResult::Outcome::Cancelled, ""};
    p.form->PrintPuzzle(0);
    p.ExpectRestored(before);
    EXPECT_TRUE(p.dialogs.messages.empty());

    p.answer = {PrintResult::Outcome::Failed, "Cannot write /nowhere/out.pdf"};
    p.form->PrintPuzzle(2);
    p.ExpectRestored(before);
    ASSERT_EQ(p.dialogs.messages.size(), 1u);
    EXPECT_NE(p.dialogs.messages[0].text.find("\r\nCannot write /nowhere/out.pdf"), std::string::npos);
    EXPECT_EQ(p.dialogs.messages[0].title, "Corvana");
    EXPECT_EQ(p.dialogs.messages[0].buttons, Buttons::Ok);

    // Typing after a print still reaches the user's grid.
    const int cell = *p.FirstWhiteOutsideStarter();
    p.form->SetCellText(cell, "8");
    EXPECT_EQ(p.User(cell), 8);
}

TEST(PlayPrint, TheUsersOwnUntickOfTheStarterSurvivesAPrintAndAnUnknownKindPrintsNothing) {
    Printing p("Small Puzzle H");
    for (const int id : p.TickedIds())
        p.form->BoxClick(id);
    const Snapshot before = p.Take();
    p.form->PrintPuzzle(0);
    p.ExpectRestored(before);
    p.form->PrintPuzzle(7);
    EXPECT_EQ(p.host.prints, 1) << "an unknown kind prints nothing";
    p.ExpectRestored(before);
}
