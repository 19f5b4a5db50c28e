#include "PlayFixture.h"

#include <algorithm>
#include <map>
#include <set>

using namespace corvana;
using namespace corvana::test;

namespace {

const ListLayout* Used(const TemplateLayout& layout, int digits) {
    const auto it = std::find_if(layout.lists.begin(), layout.lists.end(),
                                 [&](const ListLayout& l) { return l.digits == digits; });
    return it == layout.lists.end() ? nullptr : &*it;
}

// Each template's lists and the columns each is split into, as the forms were designed
// (digits:columns); the Large form's down lists keep the across lists' columns.
const std::map<std::string, std::string> kColumns = {
    {"Small Puzzle H", "2:1 6:1 10:1"},
    {"Small Puzzle Pinwheel", "3:2 6:1"},
    {"Small Puzzle Five Squares", "4:2 10:1"},
    {"Small Puzzle Wheel", "3:1 4:1 8:1"},
    {"Small Puzzle Project X", "2:1 3:1 4:1 6:1 8:1"},
    {"Normal Puzzle Plus", "3:2 4:2 5:3 7:2"},
    {"Normal Puzzle Steps", "3:1 4:2 5:2 6:1 7:1 8:1 9:1"},
    {"Normal Puzzle Shield", "2:1 3:3 4:1 5:3 6:1 7:1"},
    {"Normal Puzzle Broken Pieces", "3:1 4:2 5:2 7:1 10:1"},
    {"Normal Puzzle Five Plus", "3:1 4:2 5:2 6:1 7:1"},
    {"Normal Puzzle Angled", "3:1 4:1 5:2 6:1 7:1 8:1 9:1"},
    {"Normal Puzzle HTT", "2:1 3:2 4:1 5:2 6:1 7:2"},
    {"Large Puzzle Crazy Eights", "3:1 4:2 6:1 8:1"},
    {"Large Puzzle Squares", "3:1 4:1 5:1 6:1 7:1 8:1"},
    {"Large Puzzle Four Electrodes", "3:1 6:2 7:1 8:2"},
};

// The lists the form shows and how many columns each takes on screen.
std::string ShownColumns(const PlayForm& form, bool down) {
    std::map<int, std::set<int>> lefts;
    for (const ListBox& box : form.Boxes())
        if (box.visible && box.down == down)
            lefts[box.digits].insert(box.left);
    std::string text;
    for (const auto& [digits, columns] : lefts)
        text += (text.empty() ? "" : " ") + std::to_string(digits) + ":" + std::to_string(columns.size());
    return text;
}

} // namespace

// Every template on its form, the odd ones with the starting number hidden: the lists in their
// designed columns, the headings over them, the starter red and ticked, and nothing else set.
TEST(PlayFormLoad, EveryTemplateStartsWithItsListsInColumnsAndOnlyTheStarterShown) {
    ASSERT_EQ(Templates().size(), kColumns.size());
    for (std::size_t t = 0; t < Templates().size(); ++t) {
        const std::string name(Templates()[t].name);
        const bool hidden = t % 2 == 1;
        SCOPED_TRACE(name + (hidden ? " hidden" : ""));
        PlayFixture f(name, hidden, 17);
        const FormConfig& config = f.form->Config();
        const TemplateLayout* layout = config.Layout(name);
        ASSERT_NE(layout, nullptr);
        EXPECT_EQ(ShownColumns(*f.form, false), kColumns.at(name));
        EXPECT_EQ(ShownColumns(*f.form, true), config.separateLists ? kColumns.at(name) : "");
        for (const bool down : {false, true}) {
            if (down && !config.separateLists)
                continue;
            for (const ListLayout& list : layout->lists) {
                const int count = f.form->ListCount(list.digits, down);
                const auto& captions =
                    down ? f.puzzle.CaptionsDown[Ix(list.digits)] : f.puzzle.Captions[Ix(list.digits)];
                ASSERT_GT(count, 0);
                const int part = count / list.columns;
                for (int j = 0; j < count; ++j) {
                    const ListBox& box = f.Box(f.BoxId(list.digits, j, down));
                    EXPECT_EQ(box.caption, captions[Ix(j)]);
                    EXPECT_EQ(box.left, list.firstBox.left + j / part * list.columnStep) << j;
                    EXPECT_EQ(box.top, (down ? list.firstDownBox.top : list.firstBox.top) + 240 * (j % part))
                        << j;
                }
                EXPECT_EQ(f.form->FindBox(list.digits, down, count), -1) << "no box beyond the list";
            }
        }
        for (const auto& label : f.form->Labels()) {
            if (label.digits == 0)
                continue;
            const ListLayout* used = Used(*layout, label.digits);
            EXPECT_EQ(label.visible, used != nullptr) << label.name;
            if (used != nullptr) {
                EXPECT_EQ(label.left, used->heading.left);
                EXPECT_EQ(label.top, used->heading.top);
            }
        }

        EXPECT_EQ(f.form->Caption(), name);
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
        EXPECT_EQ(f.form->UndoCaption(), "Undo ");
        EXPECT_FALSE(f.form->UndoEnabled());
        EXPECT_EQ(f.form->StarterHidden(), hidden);
        EXPECT_EQ(f.form->ShowStartingNumberVisible(), hidden);
        EXPECT_EQ(f.form->UserGridFrame().caption, "User Grid");
        EXPECT_EQ(f.form->FillStartCell(), -1);
        for (int i = 0; i < f.Count(); ++i) {
            const bool shown = f.InStarter(i) && !hidden;
            EXPECT_EQ(f.Cell(i).fore, shown ? kRed : kBlack) << i;
            EXPECT_EQ(f.Text(i), shown ? std::to_string(f.Solution(i)) : "");
            EXPECT_EQ(f.Cell(i).back, f.White(i) ? kWhite : kBlack);
            EXPECT_TRUE(f.Cell(i).enabled) << "black squares take the focus too";
        }
        const auto ticked = f.TickedIds();
        ASSERT_EQ(ticked.size(), hidden ? 0u : 1u);
        if (!hidden) {
            EXPECT_EQ(f.Box(ticked[0]).caption, f.StarterText());
            EXPECT_FALSE(f.Box(ticked[0]).down);
            EXPECT_EQ(f.Box(ticked[0]).fore, f.colors.CheckedColor[Ix(config.ColorIndex())]);
        }
        EXPECT_TRUE(f.dialogs.messages.empty());
    }
}

TEST(PlayFormLoad, ListColoursFollowThePrimarySet) {
    PlayFixture f("Small Puzzle Project X");
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
    PlayFixture large(kLarge);
    for (const auto& label : large.form->Labels())
        if (label.name == "lblAcross" || label.name == "lblDown") {
            EXPECT_TRUE(label.visible);
            EXPECT_EQ(label.fore, large.colors.PrimaryColor[2]);
            EXPECT_EQ(label.back, large.colors.BackgroundColor[2]);
        }
    EXPECT_EQ(large.Box(large.BoxId(6, 0, true)).fore, large.colors.PrimaryColor[2]);
    EXPECT_EQ(large.Box(large.BoxId(4, 0, true)).fore, large.colors.SecondaryColor[2]);
}

TEST(PlayFormLists, AClickTicksAndFillsTheBufferAndTheColourFollowsTheTick) {
    PlayFixture f(kSmall);
    // The Checked colour equal to a list colour must not confuse which colour comes back.
    f.colors.CheckedColor[0] = f.colors.PrimaryColor[0];
    f.colors.SecondaryColor[0] = 0x123456;
    const int id = f.BoxId(6, 0);
    const ListBox& box = f.Box(id);
    for (int click = 1; click <= 4; ++click) {
        f.form->BoxClick(id);
        EXPECT_EQ(box.value, click % 2) << click;
        EXPECT_EQ(box.fore, box.value == 1 ? f.colors.CheckedColor[0] : f.colors.SecondaryColor[0]) << click;
        EXPECT_EQ(f.form->BufferText(), box.caption) << "unticking still copies the number";
        EXPECT_EQ(f.form->BufferCaption(), "Buffer = " + box.caption);
    }
    PlayFixture large(kLarge);
    large.Pick(6, 3, true);
    EXPECT_FALSE(large.form->BufferFromAcross());
    large.Pick(6, 3, false);
    EXPECT_TRUE(large.form->BufferFromAcross());
}

TEST(PlayFormLifecycle, NewGameAndOtherTemplatesReuseTheBoxesAndLeaveNoneBehind) {
    PlayFixture f(kSmall);
    const auto boxes = f.form->Boxes().size();
    f.Pick(6, 5);
    const int cell = *f.FirstWhiteOutsideStarter();
    f.form->SetCellText(cell, "4");
    const auto before = f.puzzle.SolutionArray;
    f.form->mnuNewPuzzle_Click();
    EXPECT_EQ(f.form->Boxes().size(), boxes) << "boxes are reused";
    EXPECT_NE(f.puzzle.SolutionArray, before);
    ASSERT_EQ(f.TickedIds().size(), 1u);
    EXPECT_EQ(f.Box(f.TickedIds()[0]).caption, f.StarterText());
    EXPECT_EQ(f.Text(cell), "");
    EXPECT_EQ(f.form->BufferCaption(), "Buffer = ");
    EXPECT_EQ(f.host.unloads, 0);
    f.form->Form_Load();
    EXPECT_EQ(f.form->Boxes().size(), boxes);

    // Another template on the same form: the old lists must not stay visible.
    f.puzzle.PuzzleName = "Small Puzzle Pinwheel";
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, f.dialogs, 4));
    f.form->LoadPuzzle(false);
    for (const auto& box : f.form->Boxes())
        EXPECT_EQ(box.visible, box.digits == 3 || box.digits == 6) << box.Name();
    for (const auto& label : f.form->Labels())
        if (label.digits != 0) {
            EXPECT_EQ(label.visible, label.digits == 3 || label.digits == 6)
                << "stale heading " << label.name;
        }
    EXPECT_EQ(std::count_if(f.form->Boxes().begin(), f.form->Boxes().end(),
                            [](const ListBox& b) { return b.visible; }),
              36);
}

TEST(PlayFormLifecycle, ReturnOnlyUnloadsExitAlsoEndsAndExitInHelpClosesTheFormToo) {
    PlayFixture f(kSmall);
    f.form->mnuHelp_Click();
    EXPECT_EQ(f.host.helpShown, 1);
    EXPECT_EQ(f.host.unloads, 0);
    f.form->mnuReturnToMain_Click();
    EXPECT_EQ(f.host.unloads, 1);
    EXPECT_FALSE(f.puzzle.ExitRequested);
    f.host.onHelp = [&] { f.puzzle.ExitRequested = true; };
    f.form->mnuHelp_Click();
    EXPECT_EQ(f.host.unloads, 2);
    PlayFixture g(kSmall);
    g.form->mnuExit_Click();
    EXPECT_EQ(g.host.unloads, 1);
    EXPECT_TRUE(g.puzzle.ExitRequested);
}

TEST(PlayFormLifecycle, ResizeCentresTheWorkFrameAndPinsItAtZero) {
    PlayFixture f(kSmall);
    const TwipPoint centred = f.form->Form_Resize(7455 + 135 + 1000, 4095 + 705 + 600);
    EXPECT_EQ(centred.left, 500);
    EXPECT_EQ(centred.top, 300);
    const TwipPoint pinned = f.form->Form_Resize(3000, 2000);
    EXPECT_EQ(pinned.left, 0);
    EXPECT_EQ(pinned.top, 0);
    PlayFixture large("Large Puzzle Squares");
    EXPECT_EQ(large.form->Form_Resize(11055 + 150 + 20, 7335 + 720 + 40).top, 20);
}
