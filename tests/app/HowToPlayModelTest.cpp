// The help window's pages and its developing example, without a window.
#include "app/HowToPlayModel.h"
#include "colors/ColorScheme.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace corvana;

namespace {

// The cells of the example grid that match `pick`, in order.
template <typename Pick> std::set<int> CellsWhere(Pick pick) {
    std::set<int> cells;
    for (int i = 0; i < kHelpCells; ++i)
        if (pick(i))
            cells.insert(i);
    return cells;
}

// Everything ShowPage decides, checked against what each page must show.
void ExpectPage(const HowToPlayModel& m, int page) {
    SCOPED_TRACE("page " + std::to_string(page));
    EXPECT_EQ(std::pair(m.CurrentPage(), m.SelectedOption()), std::pair(page, page));
    EXPECT_EQ(CellsWhere([&](int k) { return k < kHelpPages && m.PageVisible(k); }), std::set<int>{page});
    EXPECT_EQ(std::pair(m.BackEnabled(), m.ForwardEnabled()), std::pair(page > 0, page < 3));
    // Only the example row, cells 60 to 69, is written in red; only it and column 0 below it hold digits.
    EXPECT_EQ(CellsWhere([&](int i) { return m.Cell(i).fore == kRed; }),
              (std::set<int>{60, 61, 62, 63, 64, 65, 66, 67, 68, 69}));
    std::string digits;
    for (const int i : CellsWhere([&](int i) { return !m.Cell(i).text.empty(); }))
        digits += std::to_string(i) + ":" + m.Cell(i).text + " ";
    const std::string row = "60:0 61:1 62:2 63:3 64:4 65:5 66:6 67:7 68:8 69:9 ";
    EXPECT_EQ(digits, page == 0 ? "" : page < 3 ? row : row + "70:1 80:5 90:7 ");
    EXPECT_EQ(m.BufferCaption(), page == 2 ? "Buffer = 0157" : "Buffer =");
    EXPECT_EQ(CellsWhere([&](int i) { return m.Cell(i).back == kBlue; }),
              page == 2 ? std::set<int>{60} : std::set<int>{});
    // 0123456789 is ticked from page 2 on, 0157 from page 3; a ticked box is written in grey.
    for (int n = 1; n <= 6; ++n) {
        const bool ticked = n == 4 ? page > 0 : n == 1 && page >= 2;
        EXPECT_EQ(std::pair(m.Check(n).ticked, m.Check(n).fore), std::pair(ticked, ticked ? kGrey : kWhite))
            << "Check" << n;
    }
}

} // namespace

TEST(HowToPlayPages, EveryWayThroughThePagesShowsEachPagesExampleOnTheFiveSquaresShape) {
    bool exitRequested = false;
    HowToPlayModel m(exitRequested);
    m.Form_Load();
    ExpectPage(m, 0);
    // Forward beyond the last page and back beyond the first: nothing changes.
    for (const auto& [click, pages] : {std::pair{&HowToPlayModel::cmdForward_Click, std::vector{1, 2, 3, 3}},
                                       {&HowToPlayModel::cmdBack_Click, std::vector{2, 1, 0, 0}}})
        for (const int page : pages) {
            (m.*click)();
            ExpectPage(m, page);
        }
    // Jumps, as option and page: nothing of a later page stays behind; to no such page, nothing changes.
    for (const auto& [option, page] : {std::pair{3, 3}, {0, 0}, {2, 2}, {1, 1}, {kHelpPages, 1}, {-1, 1}}) {
        m.optSelection_Click(option);
        ExpectPage(m, page);
    }

    // The example grid has the Five Squares shape in black, and shows it so.
    EXPECT_EQ(CellsWhere(HelpIsBlack), (std::set<int>{4,  5,  14, 15, 24, 25, 40, 41, 42, 47, 48, 49,
                                                      50, 51, 52, 57, 58, 59, 74, 75, 84, 85, 94, 95}));
    EXPECT_EQ(CellsWhere([&](int i) { return m.Cell(i).back == kBlack; }), CellsWhere(HelpIsBlack));
    // Nor is a cell outside it, even below the grid in a column of black squares.
    EXPECT_EQ(std::pair(HelpIsBlack(-1), HelpIsBlack(kHelpCells + 4)), std::pair(false, false));
}
