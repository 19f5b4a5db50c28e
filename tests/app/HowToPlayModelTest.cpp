// The help window's pages and its developing example, without a window.

#include "app/HowToPlayModel.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvana;

namespace {

constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kRed = 0x0000FF;
constexpr ColorValue kBlue = 0xFF0000;
constexpr ColorValue kGrey = 0x808080;

std::string Row6(const HowToPlayModel& m) {
    std::string row;
    for (int i = 60; i < 70; ++i)
        row += m.Cell(i).text.empty() ? "." : m.Cell(i).text;
    return row;
}

std::string Column0Below(const HowToPlayModel& m) {
    return m.Cell(70).text + "|" + m.Cell(80).text + "|" + m.Cell(90).text;
}

// Everything ShowPage decides, checked against what each page must show.
void ExpectPage(const HowToPlayModel& m, int page) {
    SCOPED_TRACE("page " + std::to_string(page));
    EXPECT_EQ(m.CurrentPage(), page);
    for (int k = 0; k < kHelpPages; ++k)
        EXPECT_EQ(m.PageVisible(k), k == page);
    EXPECT_EQ(m.SelectedOption(), page);
    EXPECT_EQ(m.BackEnabled(), page > 0);
    EXPECT_EQ(m.ForwardEnabled(), page < 3);

    EXPECT_EQ(Row6(m), page == 0 ? ".........." : "0123456789");
    for (int i = 60; i < 70; ++i)
        EXPECT_EQ(m.Cell(i).fore, kRed);
    EXPECT_EQ(m.Cell(70).fore, 0x000000) << "the red example row ends at cell 69";
    EXPECT_EQ(m.Check(4).ticked, page > 0);
    EXPECT_EQ(m.Check(4).fore, page > 0 ? kGrey : kWhite);

    EXPECT_EQ(m.BufferCaption(), page == 2 ? "Buffer = 0157" : "Buffer =");
    EXPECT_EQ(m.Cell(60).back, page == 2 ? kBlue : kWhite);

    EXPECT_EQ(m.Check(1).ticked, page >= 2);
    EXPECT_EQ(m.Check(1).fore, page >= 2 ? kGrey : kWhite);

    EXPECT_EQ(Column0Below(m), page == 3 ? "1|5|7" : "||");

    for (int n : {2, 3, 5, 6}) {
        EXPECT_FALSE(m.Check(n).ticked);
        EXPECT_EQ(m.Check(n).fore, kWhite);
    }
}

} // namespace

TEST(HowToPlayPages, EveryWayThroughThePagesShowsEachPagesExample) {
    PuzzleState puzzle;
    HowToPlayModel m(puzzle);
    m.Form_Load();
    ExpectPage(m, 0);
    for (int i = 0; i < kHelpCells; ++i)
        EXPECT_TRUE(m.Cell(i).text.empty()) << i;
    m.cmdBack_Click(); // beyond the first page: nothing changes
    ExpectPage(m, 0);
    for (int page = 1; page <= 3; ++page) {
        m.cmdForward_Click();
        ExpectPage(m, page);
    }
    m.cmdForward_Click();
    ExpectPage(m, 3);
    for (int page = 2; page >= 0; --page) {
        m.cmdBack_Click();
        ExpectPage(m, page);
    }
    // Jumps: nothing of a later page stays behind.
    for (int page : {3, 0, 2, 1}) {
        m.optSelection_Click(page);
        ExpectPage(m, page);
    }
    m.optSelection_Click(7);
    ExpectPage(m, 1);
}

TEST(HowToPlayPages, TheExampleGridHasTheFiveSquaresShape) {
    int black = 0;
    for (int i = 0; i < kHelpCells; ++i)
        black += HelpIsBlack(i) ? 1 : 0;
    EXPECT_EQ(black, 24);
    for (int cell : {4, 5, 14, 25, 74, 95, 40, 41, 42, 47, 48, 49, 50, 52, 57, 59})
        EXPECT_TRUE(HelpIsBlack(cell)) << cell;
    for (int cell : {0, 3, 6, 34, 35, 43, 46, 53, 56, 60, 64, 65, 69, 70, 80, 90})
        EXPECT_FALSE(HelpIsBlack(cell)) << cell;

    PuzzleState puzzle;
    HowToPlayModel m(puzzle);
    m.Form_Load();
    m.optSelection_Click(3);
    for (int i = 0; i < kHelpCells; ++i) {
        if (HelpIsBlack(i)) {
            EXPECT_EQ(m.Cell(i).back, 0x000000) << i;
            EXPECT_TRUE(m.Cell(i).text.empty()) << "no digit on a black square: " << i;
        }
    }
}

TEST(HowToPlayPages, ReturnClosesExitAlsoEndsTheProgram) {
    PuzzleState puzzle;
    HowToPlayModel back(puzzle);
    back.Form_Load();
    back.mnuReturnToMain_Click();
    EXPECT_TRUE(back.Closed());
    EXPECT_FALSE(puzzle.ExitRequested);

    HowToPlayModel exit(puzzle);
    exit.Form_Load();
    exit.mnuExit_Click();
    EXPECT_TRUE(exit.Closed());
    EXPECT_TRUE(puzzle.ExitRequested);
}
