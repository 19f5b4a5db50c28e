#pragma once

// How a puzzle page's number lists flow into columns: arithmetic on line heights alone, apart
// from the painting, so that its rules can be checked on their own.

#include <optional>
#include <vector>

namespace corvana {

// One line of a page's lists: a section's title (ACROSS, DOWN), a group's heading ("3 Digits") or
// a row of the group's numbers.
struct ListLine {
    enum class Kind { Section, Heading, Row } kind;
    int section = 0, group = 0;
    int first = 0, count = 0; // the numbers of a row
    double height = 0;
    double spaceBefore = 0; // dropped at the top of a column
};

struct PlacedLine {
    int column = 0;
    double y = 0;
    bool repeatHeading = false; // a group goes on at the top of a column under its heading again
};

// Fills the columns from the left, each down to `height`. A group stays whole in one column when
// it fits in one; a taller one goes on in the next column under its heading again, and a
// heading or title never ends a column. None when the lines need more than `columns` columns.
std::optional<std::vector<PlacedLine>> FlowColumns(const std::vector<ListLine>& lines, double height,
                                                   int columns);

// The shortest columns (to a quarter point) that hold all the lines, at most `limit` high; none
// if `limit` is short.
std::optional<double> ShortestColumns(const std::vector<ListLine>& lines, int columns, double limit);

} // namespace corvana
