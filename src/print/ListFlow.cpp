#include "print/ListFlow.h"

#include <algorithm>
#include <cstddef>

namespace corvana {

std::optional<std::vector<PlacedLine>> FlowColumns(const std::vector<ListLine>& lines, double height,
                                                   int columns) {
    constexpr double kSlack = 0.01;
    std::vector<PlacedLine> placed(lines.size());
    // A row at a column's top is never its group's first: a heading keeps its first two rows.
    const auto repeats = [&](std::size_t i, double top) {
        return top == 0 && lines[i].kind == ListLine::Kind::Row;
    };
    // Whether lines [i, end) fit when the first of them starts at `top`.
    const auto fits = [&](std::size_t i, std::size_t end, double top) {
        double y = top + (repeats(i, top) ? lines[i].height : 0);
        for (std::size_t j = i; j < end; ++j)
            y += (y > 0 ? lines[j].spaceBefore : 0) + lines[j].height;
        return y <= height + kSlack;
    };
    int column = 0;
    double y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A title or heading would rather share its column with its whole group, and must at
        // least with the first two rows of it.
        std::size_t whole = i + 1, least = i + 1;
        if (lines[i].kind != ListLine::Kind::Row) {
            const std::size_t heading = lines[i].kind == ListLine::Kind::Section ? i + 1 : i;
            whole = std::min(heading + 1, lines.size());
            while (whole < lines.size() && lines[whole].kind == ListLine::Kind::Row)
                ++whole;
            least = std::min(heading + 3, whole);
        }
        if (fits(i, whole, y)) {
        } else if (y > 0 && fits(i, whole, 0)) {
            if (++column >= columns)
                return std::nullopt;
            y = 0;
        } else if (!fits(i, least, y)) {
            if (y == 0 || ++column >= columns || !fits(i, least, 0))
                return std::nullopt;
            y = 0;
        }
        const bool repeat = repeats(i, y);
        if (repeat)
            y += lines[i].height;
        else if (y > 0)
            y += lines[i].spaceBefore;
        placed[i] = {column, y, repeat};
        y += lines[i].height;
    }
    return placed;
}

std::optional<double> ShortestColumns(const std::vector<ListLine>& lines, int columns, double limit) {
    if (!FlowColumns(lines, limit, columns))
        return std::nullopt;
    double low = 0, high = limit;
    while (high - low > 0.25) {
        const double mid = (low + high) / 2;
        (FlowColumns(lines, mid, columns) ? high : low) = mid;
    }
    return high;
}

} // namespace corvana
