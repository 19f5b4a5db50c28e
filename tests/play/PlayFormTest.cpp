// Laying a play form out: the per-template list layouts, the headings and colours, what a new
// game or another template leaves behind, the File menu, resizing and zooming.

#include "PlayFixture.h"

#include "play/Zoom.h"

#include <algorithm>
#include <set>

using namespace corvana;
using namespace corvana::test;

namespace {

// The digit counts of the visible headings, then of the visible across and down boxes.
using Lists = std::vector<std::set<int>>;
Lists Shown(const PlayForm& form) {
    Lists parts(3);
    for (const FormLabel& label : form.Labels())
        if (label.visible && label.digits != 0)
            parts[0].insert(label.digits);
    for (const ListBox& box : form.Boxes())
        if (box.visible)
            parts[box.down ? 2 : 1].insert(box.digits);
    return parts;
}

} // namespace

// Every template on its form: the lists as designed, each box at its place in its column, the
// headings over them.
TEST(PlayFormLoad, EveryTemplateShowsItsDesignedLists) {
    for (const TemplateRecord& t : Templates()) {
        PlayFixture f(std::string(t.name), false, 17);
        std::set<int> lists;
        for (const ListLayout& l : t.lists) {
            lists.insert(l.digits);
            for (const FormLabel& h : f.form->Labels()) // its heading over it
                EXPECT_TRUE(h.digits != l.digits || (h.left == l.heading.left && h.top == l.heading.top));
        }
        for (const bool down : t.SeparateLists() ? std::vector{false, true} : std::vector{false})
            for (const ListLayout& list : t.lists) {
                const int count = f.form->ListCount(list.digits, down);
                const auto& captions = (down ? f.puzzle.CaptionsDown : f.puzzle.Captions)[Ix(list.digits)];
                const int part = std::max(count / list.columns, 1);
                for (int j = 0; j < count; ++j) {
                    const ListBox& box = f.Box(f.form->FindBox(list.digits, down, j));
                    const int column = std::min(j / part, list.columns - 1);
                    EXPECT_EQ(std::pair(box.caption, box.visible), std::pair(captions[Ix(j)], true));
                    EXPECT_EQ(box.left, list.firstBox.left + column * list.columnStep) << j;
                    EXPECT_EQ(box.top,
                              (down ? list.firstDownBox.top : list.firstBox.top) + 240 * (j - column * part));
                }
                EXPECT_EQ(f.form->FindBox(list.digits, down, count), -1) << "no box beyond the list";
            }
        EXPECT_EQ(Shown(*f.form), (Lists{lists, lists, t.SeparateLists() ? lists : std::set<int>{}}));
    }
}

// Lists and headings of the template's primary lengths take the Primary colour, the others the
// Secondary, all on the Background; the Large form's ACROSS and DOWN headings and the grid's
// frame are Primary.
TEST(PlayFormLoad, ListColoursFollowThePrimarySet) {
    for (const TemplateRecord& t : Templates()) {
        SCOPED_TRACE(t.name);
        PlayFixture f(std::string(t.name));
        const ColorValue primary = f.colors.PrimaryColor[f.K()], back = f.colors.BackgroundColor[f.K()];
        // The colours, fore and back, of a list or heading of `digits` digits.
        const auto colours = [&](int digits) {
            const bool isPrimary = digits == 0 || std::count(t.primary.begin(), t.primary.end(), digits) > 0;
            return std::pair(isPrimary ? primary : f.colors.SecondaryColor[f.K()], back);
        };
        int headings = 0; // ACROSS and DOWN, where the lists stand apart
        for (const FormLabel& l : f.form->Labels())
            if (l.visible) {
                const bool heading = l.role == LabelRole::Across || l.role == LabelRole::Down;
                EXPECT_EQ(std::pair(l.fore, l.back), colours(heading ? 0 : l.digits)) << l.name;
                headings += heading;
            }
        EXPECT_EQ(headings, t.SeparateLists() ? 2 : 0);
        for (const ListBox& b : f.form->Boxes())
            if (b.visible && b.value == 0) {
                EXPECT_EQ(std::pair(b.fore, b.back), colours(b.digits)) << b.Name();
            }
        const FormFrame& grid = f.form->UserGridFrame();
        EXPECT_EQ(std::tuple(grid.fore, grid.back, f.form->WorkFrame().back, f.form->FormBackColor()),
                  std::tuple(primary, back, back, back));
    }
}

TEST(PlayFormLifecycle, NewGameAndOtherTemplatesReuseTheBoxesAndLeaveNoneBehind) {
    PlayFixture f(kSmall);
    const auto boxes = f.form->Boxes().size();
    f.Pick(6, 0);
    const int cell = f.FreeCell();
    f.form->SetCellText(cell, "4");
    const auto before = f.puzzle.SolutionArray;
    f.form->mnuNewPuzzle_Click();
    EXPECT_EQ(f.form->Boxes().size(), boxes) << "boxes are reused";
    EXPECT_NE(f.puzzle.SolutionArray, before);
    ASSERT_EQ(f.TickedIds().size(), 1u);
    EXPECT_EQ(f.Box(f.TickedIds()[0]).caption, f.StarterText());
    EXPECT_EQ(f.Text(cell) + f.form->BufferCaption(), "Buffer = ");

    // Another template on the same form: the old lists, their headings and ticks must not stay.
    f.Pick(10, 0);
    f.puzzle.PuzzleName = "Small Puzzle Pinwheel";
    ASSERT_TRUE(GeneratePuzzle(f.puzzle, 4));
    f.form->LoadPuzzle(false);
    EXPECT_EQ(Shown(*f.form), (Lists{{3, 6}, {3, 6}, {}})) << "no stale lists or headings";
    const auto& all = f.form->Boxes();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const ListBox& b) { return b.visible; }), 36);
    for (const int id : f.TickedIds())
        EXPECT_TRUE(f.Box(id).visible) << f.Box(id).Name() << " is ticked out of sight";
}

// Zoom steps from 100 to 300 % and stops at the ends; a remembered level that is no step (a
// damaged settings file) is 100 %. Twip positions become pixels at 100 % exactly as without
// zoom, and at every step neighbouring cells never touch.
TEST(Zoom, StepsStopAtTheEndsAndNeighbouringCellsNeverTouch) {
    std::vector<int> up{100};
    while (up.size() < 9)
        up.push_back(ZoomIn(up.back()));
    EXPECT_EQ(up, (std::vector<int>{100, 125, 150, 175, 200, 250, 300, 300, 300}));
    EXPECT_EQ(std::tuple(ZoomOut(300), ZoomOut(125), ZoomOut(100)), std::tuple(250, 100, 100));
    for (const auto& [kept, used] : {std::pair{175, 175}, {130, 100}, {0, 100}, {-200, 100}, {900, 100}})
        EXPECT_EQ(ValidZoom(kept), used) << kept;
    for (const FormConfig* form : {&frmSmallSize(), &frmNormal(), &frmLarge()}) {
        const TwipRect a = form->CellRect(0), b = form->CellRect(1);
        for (const int z : kZoomSteps)
            EXPECT_LT(ZoomedPixels(a.left + a.width, z), ZoomedPixels(b.left, z)) << z;
    }
}
