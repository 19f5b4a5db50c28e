#pragma once

// Hand-made boards for the solver and the rules, written as rows of text.

#include "solver/Solver.h"

#include <cstddef>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace corvana::test {

inline constexpr auto At = [](int i) { return static_cast<std::size_t>(i); };

// A board from rows of '#' (black), '.' (empty) and digits (in the grid), with joined lists.
inline FillIn Board(const std::vector<std::string>& rows, std::map<int, std::vector<std::string>> lists) {
    FillIn p;
    p.width = static_cast<int>(rows.size());
    for (const auto& row : rows)
        for (const char c : row) {
            p.white.push_back(c != '#');
            p.given.push_back(c >= '0' && c <= '9' ? c - '0' : -1);
        }
    p.across = std::move(lists);
    return p;
}
// The same from its rows and its numbers, each written apart by spaces.
inline FillIn Puzzle(const std::string& rows, const std::string& numbers) {
    std::istringstream r(rows), n(numbers);
    std::map<int, std::vector<std::string>> lists;
    for (std::string number; n >> number;)
        lists[static_cast<int>(number.size())].push_back(number);
    return Board({std::istream_iterator<std::string>(r), {}}, lists);
}

} // namespace corvana::test
