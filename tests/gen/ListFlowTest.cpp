// How the book's number lists flow from column to column, on lines of made-up heights.

#include "print/ListFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvana;

namespace {

// A group of `rows` rows under a heading for each entry of `rows`, group `titled` under a section's
// title as well; every line 10 points high, and 4 points of space before each title or heading
// but the first line and a heading under a title.
std::vector<ListLine> Groups(const std::vector<int>& rows, int titled = -1) {
    std::vector<ListLine> lines;
    for (int g = 0; g < static_cast<int>(rows.size()); ++g) {
        if (g == titled)
            lines.push_back({ListLine::Kind::Section, 1, 0, 0, 0, 10, g > 0 ? 4.0 : 0.0});
        lines.push_back({ListLine::Kind::Heading, 0, g, 0, 0, 10, g > 0 && g != titled ? 4.0 : 0.0});
        for (int r = 0; r < rows[static_cast<std::size_t>(g)]; ++r)
            lines.push_back({ListLine::Kind::Row, 0, g, r, 1, 10, 0});
    }
    return lines;
}

// Each line's column and top, "column:top", marked "(heading again)" where a group goes on under
// its heading repeated; "none" when the lines need more columns.
std::string Flowed(const std::vector<int>& rows, double height, int columns, int titled = -1) {
    const auto placed = FlowColumns(Groups(rows, titled), height, columns);
    std::string text = placed ? "" : "none";
    for (const PlacedLine& p : placed.value_or(std::vector<PlacedLine>{}))
        text += std::to_string(p.column) + ":" + std::to_string(static_cast<int>(p.y)) +
                (p.repeatHeading ? "(heading again) " : " ");
    return text;
}

} // namespace

TEST(ListFlow, AGroupStaysWholeInAColumnAndATallerOneGoesOnUnderItsHeadingAgain) {
    // Both groups in one column, the second heading with its space before it.
    EXPECT_EQ(Flowed({2, 1}, 60, 1), "0:0 0:10 0:20 0:34 0:44 ");
    // The second group no longer fits under the first but fits a column: it starts the next, at its top.
    EXPECT_EQ(Flowed({2, 2}, 40, 2), "0:0 0:10 0:20 1:0 1:10 1:20 ");
    EXPECT_EQ(Flowed({2, 2}, 40, 1), "none");
    EXPECT_EQ(Flowed({1, 5}, 60, 2), "0:0 0:10 1:0 1:10 1:20 1:30 1:40 1:50 ") << "exactly a column high";
    // Taller than a column: it goes on at the next column's top, under its heading again.
    EXPECT_EQ(Flowed({4}, 30, 2), "0:0 0:10 0:20 1:10(heading again) 1:20 ");
    // A heading never ends a column: with room for it and one row left, it moves on with two.
    EXPECT_EQ(Flowed({1, 5}, 50, 3), "0:0 0:10 1:0 1:10 1:20 1:30 1:40 2:10(heading again) ");
    EXPECT_EQ(Flowed({1, 3}, 25, 5), "none") << "not even a column's top has room for a heading and two rows";
    // A section's title goes with its first group.
    EXPECT_EQ(Flowed({2, 2}, 60, 2, 1), "0:0 0:10 0:20 1:0 1:10 1:20 1:30 ");
}

TEST(ListFlow, TheShortestColumnsAreFoundToAQuarterPoint) {
    EXPECT_NEAR(ShortestColumns(Groups({2, 2}), 2, 100).value_or(-1), 30.125, 0.125) << "a group to a column";
    EXPECT_NEAR(ShortestColumns(Groups({2, 2}), 1, 100).value_or(-1), 64.125, 0.125) << "both, and the space";
    EXPECT_FALSE(ShortestColumns(Groups({2, 2}), 2, 20)) << "none under the limit";
}
