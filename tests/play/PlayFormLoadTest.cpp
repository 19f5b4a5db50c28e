#include "FakeDialogs.h"
#include "FakePlayHost.h"
#include "play/PlayForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace corvana;
using corvana::test::FakeDialogs;
using corvana::test::FakePlayHost;

namespace {

// One open play form on a freshly generated puzzle.
struct Fixture {
    explicit Fixture(const std::string& name, bool noShowFirst = false, std::uint64_t seed = 17) {
        SetDefaultColors(colors);
        puzzle.PuzzleName = name;
        puzzle.NoShowFirst = noShowFirst;
        EXPECT_TRUE(GeneratePuzzle(puzzle, dialogs, seed));
        form = std::make_unique<PlayForm>(FormFor(FindTemplate(name)->size), puzzle, colors, dialogs, host);
        form->Form_Load();
    }

    const ListBox& Box(int digits, int index, bool down = false) const {
        const int id = form->FindBox(digits, down, index);
        EXPECT_GE(id, 0) << digits << " " << index;
        return form->Boxes().at(static_cast<std::size_t>(id));
    }
    std::vector<const ListBox*> Ticked() const {
        std::vector<const ListBox*> out;
        for (const auto& b : form->Boxes())
            if (b.value == 1)
                out.push_back(&b);
        return out;
    }
    std::string StarterText() const {
        std::string text;
        for (int i = puzzle.StarterFirstCell; i <= puzzle.StarterLastCell; ++i)
            text += std::to_string(puzzle.SolutionArray[static_cast<std::size_t>(i)]);
        return text;
    }

    ColorScheme colors;
    PuzzleState puzzle;
    FakeDialogs dialogs;
    FakePlayHost host;
    std::unique_ptr<PlayForm> form;
};

} // namespace

TEST(PlayFormLoad, EveryTemplateLaysOutItsListsInOrderAndInColumns) {
    for (const auto& t : Templates()) {
        SCOPED_TRACE(std::string(t.name));
        Fixture f(std::string(t.name));
        const FormConfig& config = f.form->Config();
        const TemplateLayout* layout = config.Layout(t.name);
        ASSERT_NE(layout, nullptr);
        for (const bool down : {false, true}) {
            if (down && !config.separateLists)
                continue;
            for (const ListLayout& list : layout->lists) {
                const int count = f.form->ListCount(list.digits, down);
                const auto& captions = down ? f.puzzle.CaptionsDown[static_cast<std::size_t>(list.digits)]
                                            : f.puzzle.Captions[static_cast<std::size_t>(list.digits)];
                ASSERT_GT(count, 0);
                const int part = count / list.columns;
                for (int j = 0; j < count; ++j) {
                    const ListBox& box = f.Box(list.digits, j, down);
                    EXPECT_TRUE(box.visible);
                    EXPECT_EQ(box.caption, captions[static_cast<std::size_t>(j)]);
                    const int column = j / part;
                    const int row = j % part;
                    EXPECT_EQ(box.left, list.firstBox.left + column * list.columnStep) << j;
                    EXPECT_EQ(box.top, (down ? list.firstDownBox.top : list.firstBox.top) + 240 * row) << j;
                }
                EXPECT_EQ(f.form->FindBox(list.digits, down, count), -1) << "no box beyond the list";
            }
        }
        // Lists the template does not use stay hidden, and so do their headings.
        for (const auto& box : f.form->Boxes())
            if (!box.visible) {
                EXPECT_EQ(layout->lists.end(),
                          std::find_if(layout->lists.begin(), layout->lists.end(),
                                       [&](const ListLayout& l) { return l.digits == box.digits; }));
            }
        for (const auto& label : f.form->Labels()) {
            if (label.digits == 0)
                continue;
            const auto used = std::find_if(layout->lists.begin(), layout->lists.end(),
                                           [&](const ListLayout& l) { return l.digits == label.digits; });
            EXPECT_EQ(label.visible, used != layout->lists.end()) << label.name;
            if (used != layout->lists.end()) {
                EXPECT_EQ(label.left, used->heading.left);
                EXPECT_EQ(label.top, used->heading.top);
            }
        }
    }
}

TEST(PlayFormLoad, PublishedColumnSplits) {
    Fixture five("Small Puzzle Five Squares");
    EXPECT_EQ(five.Box(4, 13).left, 240);
    EXPECT_EQ(five.Box(4, 14).left, 960) << "the 15th number starts the second column, 720 to the right";
    EXPECT_EQ(five.Box(4, 14).top, 600);
    EXPECT_EQ(five.Box(4, 27).top, 600 + 13 * 240);

    Fixture shield("Normal Puzzle Shield");
    EXPECT_EQ(shield.Box(3, 8).left, 1080 + 720) << "three columns of 8, the 9th number heads the second";
    EXPECT_EQ(shield.Box(3, 16).left, 1080 + 1440);
    EXPECT_EQ(shield.Box(5, 23).top, 3360 + 7 * 240);

    Fixture electrodes("Large Puzzle Four Electrodes");
    EXPECT_EQ(electrodes.Box(8, 7).left, 2160 + 1200);
    EXPECT_EQ(electrodes.Box(8, 7, true).left, 2160 + 1200);
    EXPECT_EQ(electrodes.Box(8, 7, true).top, 3960);
    EXPECT_EQ(electrodes.Box(8, 6, true).top, 3960 + 6 * 240);
}

TEST(PlayFormLoad, ListColoursFollowThePrimarySet) {
    Fixture f("Small Puzzle Project X");
    const ColorValue primary = f.colors.PrimaryColor[0];
    const ColorValue secondary = f.colors.SecondaryColor[0];
    const std::map<int, ColorValue> expected = {
        {2, primary}, {3, secondary}, {4, primary}, {6, secondary}, {8, primary}};
    for (const auto& box : f.form->Boxes()) {
        if (!box.visible || box.value == 1)
            continue;
        EXPECT_EQ(box.fore, expected.at(box.digits)) << box.Name();
        EXPECT_EQ(box.back, f.colors.BackgroundColor[0]);
    }
    for (const auto& label : f.form->Labels())
        if (label.visible) {
            EXPECT_EQ(label.fore, expected.at(label.digits)) << label.name;
        }

    Fixture large("Large Puzzle Crazy Eights");
    for (const auto& label : large.form->Labels())
        if (label.name == "lblAcross" || label.name == "lblDown") {
            EXPECT_TRUE(label.visible);
            EXPECT_EQ(label.fore, large.colors.PrimaryColor[2]);
            EXPECT_EQ(label.back, large.colors.BackgroundColor[2]);
        }
    EXPECT_EQ(large.Box(6, 0, true).fore, large.colors.PrimaryColor[2]);
    EXPECT_EQ(large.Box(4, 0, true).fore, large.colors.SecondaryColor[2]);
}

TEST(PlayFormLoad, AfterLoadingTheStarterIsRedAndTickedAndTheBufferEmpty) {
    for (const char* name : {"Small Puzzle H", "Normal Puzzle Broken Pieces", "Large Puzzle Squares"}) {
        SCOPED_TRACE(name);
        Fixture f(name);
        EXPECT_EQ(f.form->Caption(), name);
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
        EXPECT_EQ(f.form->BufferText(), "");
        EXPECT_EQ(f.form->UndoCaption(), "Undo ");
        EXPECT_FALSE(f.form->UndoEnabled());
        EXPECT_FALSE(f.form->ShowStartingNumberVisible());
        EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
        EXPECT_EQ(f.form->FillStartCell(), -1);
        for (int i = 0; i < f.puzzle.CellCount(); ++i) {
            const auto& cell = f.form->Cells()[static_cast<std::size_t>(i)];
            const bool starter = i >= f.puzzle.StarterFirstCell && i <= f.puzzle.StarterLastCell;
            EXPECT_EQ(cell.fore, starter ? kRed : kBlack) << i;
            EXPECT_EQ(cell.text,
                      starter ? std::to_string(f.puzzle.SolutionArray[static_cast<std::size_t>(i)]) : "");
            EXPECT_EQ(cell.back, f.puzzle.GridPattern[static_cast<std::size_t>(i)] ? kWhite : kBlack);
            EXPECT_TRUE(cell.enabled) << "black squares take the focus too";
        }
        const auto ticked = f.Ticked();
        ASSERT_EQ(ticked.size(), 1u);
        EXPECT_EQ(ticked[0]->caption, f.StarterText());
        EXPECT_FALSE(ticked[0]->down);
        EXPECT_EQ(ticked[0]->fore,
                  f.colors.CheckedColor[static_cast<std::size_t>(f.form->Config().ColorIndex())]);
        EXPECT_TRUE(f.dialogs.messages.empty());
    }
}

TEST(PlayFormLoad, AHiddenStarterLeavesItsCellsEmptyAndOffersToShowIt) {
    Fixture f("Normal Puzzle Plus", true);
    EXPECT_TRUE(f.form->StarterHidden());
    EXPECT_TRUE(f.form->ShowStartingNumberVisible());
    EXPECT_TRUE(f.Ticked().empty());
    for (const auto& cell : f.form->Cells())
        EXPECT_EQ(cell.text, "");
}

TEST(PlayFormLists, AClickTicksFillsTheBufferAndASecondClickUnticks) {
    Fixture f("Small Puzzle Wheel");
    const int id = f.form->FindBox(8, false, 2);
    const ListBox& box = f.form->Boxes()[static_cast<std::size_t>(id)];
    const ColorValue listColor = box.fore;
    f.form->BoxClick(id);
    EXPECT_EQ(box.value, 1);
    EXPECT_EQ(box.fore, f.colors.CheckedColor[0]);
    EXPECT_EQ(f.form->BufferText(), box.caption);
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + box.caption);
    f.form->BoxClick(id);
    EXPECT_EQ(box.value, 0);
    EXPECT_EQ(box.fore, listColor);
    EXPECT_EQ(f.form->BufferText(), box.caption) << "unticking still copies the number";
}

TEST(PlayFormLists, TicksAndColoursStayInStepWhenCheckedEqualsAListColour) {
    Fixture f("Small Puzzle H");
    f.colors.CheckedColor[0] = f.colors.PrimaryColor[0];
    f.colors.SecondaryColor[0] = 0x123456;
    const int id = f.form->FindBox(6, false, 0);
    const ListBox& box = f.form->Boxes()[static_cast<std::size_t>(id)];
    for (int click = 1; click <= 4; ++click) {
        f.form->BoxClick(id);
        EXPECT_EQ(box.fore, box.value == 1 ? f.colors.CheckedColor[0] : f.colors.SecondaryColor[0]) << click;
    }
}

TEST(PlayFormLists, LargeListClicksRememberTheirDirection) {
    Fixture f("Large Puzzle Squares");
    f.form->BoxClick(f.form->FindBox(5, true, 3));
    EXPECT_FALSE(f.form->BufferFromAcross());
    f.form->BoxClick(f.form->FindBox(5, false, 3));
    EXPECT_TRUE(f.form->BufferFromAcross());
}

TEST(PlayFormLists, LeadingZerosStayInCaptionsAndBuffer) {
    // Search seeds for a Normal puzzle whose smallest 4-digit number starts with 0.
    for (std::uint64_t seed = 0; seed < 400; ++seed) {
        Fixture f("Normal Puzzle Steps", false, seed);
        const ListBox& first = f.Box(9, 0);
        if (first.caption[0] != '0')
            continue;
        f.form->BoxClick(f.form->FindBox(9, false, 0));
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + first.caption);
        EXPECT_EQ(first.caption.size(), 9u);
        return;
    }
    FAIL() << "no puzzle with a leading zero found";
}

TEST(PlayFormLifecycle, NewGameRefillsInPlaceAndClearsTicks) {
    Fixture f("Small Puzzle Pinwheel");
    const auto boxesBefore = f.form->Boxes().size();
    f.form->BoxClick(f.form->FindBox(3, false, 5));
    f.form->SetCellText(0, "4");
    const auto before = f.puzzle.SolutionArray;
    f.form->mnuNewPuzzle_Click();
    EXPECT_EQ(f.form->Boxes().size(), boxesBefore) << "boxes are reused";
    EXPECT_NE(f.puzzle.SolutionArray, before);
    const auto ticked = f.Ticked();
    ASSERT_EQ(ticked.size(), 1u);
    EXPECT_EQ(ticked[0]->caption, f.StarterText());
    EXPECT_EQ(f.form->Cells()[0].text, "");
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
    EXPECT_EQ(f.host.unloads, 0);
}

TEST(PlayFormLifecycle, ExitSetsTheFlagAndUnloadsReturnOnlyUnloads) {
    Fixture f("Small Puzzle H");
    f.form->mnuReturnToMain_Click();
    EXPECT_EQ(f.host.unloads, 1);
    EXPECT_FALSE(f.puzzle.ExitRequested);
    f.form->mnuExit_Click();
    EXPECT_EQ(f.host.unloads, 2);
    EXPECT_TRUE(f.puzzle.ExitRequested);
}

TEST(PlayFormLifecycle, ExitFromHelpClosesThePlayFormToo) {
    Fixture f("Normal Puzzle HTT");
    f.form->mnuHelp_Click();
    EXPECT_EQ(f.host.helpShown, 1);
    EXPECT_EQ(f.host.unloads, 0);
    f.host.onHelp = [&] { f.puzzle.ExitRequested = true; };
    f.form->mnuHelp_Click();
    EXPECT_EQ(f.host.unloads, 1);
}

TEST(PlayFormLifecycle, ResizeCentresTheWorkFrameAndPinsItAtZero) {
    Fixture f("Small Puzzle H");
    const TwipPoint centred = f.form->Form_Resize(7455 + 135 + 1000, 4095 + 705 + 600);
    EXPECT_EQ(centred.left, 500);
    EXPECT_EQ(centred.top, 300);
    const TwipPoint pinned = f.form->Form_Resize(3000, 2000);
    EXPECT_EQ(pinned.left, 0);
    EXPECT_EQ(pinned.top, 0);
    Fixture large("Large Puzzle Squares");
    EXPECT_EQ(large.form->Form_Resize(11055 + 150 + 20, 7335 + 720 + 40).top, 20);
}

TEST(PlayFormLifecycle, AGridOfAnotherSizeIsALoadErrorNotACrash) {
    Fixture f("Small Puzzle H");
    f.puzzle.PuzzleName = "Normal Puzzle Plus";
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, 3));
    f.form->LoadPuzzle(false);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "Error in loading Normal Puzzle Plus");
    EXPECT_EQ(f.dialogs.messages[0].title, "Corvana");
}

TEST(PlayFormLifecycle, CellChangesReachTheUserGridOnlyWhileTracking) {
    Fixture f("Small Puzzle H");
    f.form->SetCellText(55, "7");
    EXPECT_EQ(f.puzzle.UserArray[55], 7);
    f.form->SetCellText(55, "");
    EXPECT_EQ(f.puzzle.UserArray[55], -1);
}

TEST(PlayFormLifecycle, LayingOutAgainNeverDoublesOrLeavesBoxesBehind) {
    Fixture f("Small Puzzle H");
    const auto boxes = f.form->Boxes().size();
    f.form->Form_Load();
    EXPECT_EQ(f.form->Boxes().size(), boxes);
    // Another template on the same form: the old lists must not stay visible.
    f.puzzle.PuzzleName = "Small Puzzle Pinwheel";
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, 4));
    f.form->LoadPuzzle(false);
    for (const auto& box : f.form->Boxes())
        EXPECT_EQ(box.visible, box.digits == 3 || box.digits == 6) << box.Name() << " " << box.index;
    EXPECT_EQ(std::count_if(f.form->Boxes().begin(), f.form->Boxes().end(),
                            [](const ListBox& b) { return b.visible; }),
              36);
}
