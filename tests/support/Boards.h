#pragma once

// Hand-made boards for the solver and the rules, written as rows of text.

#include "solver/Solver.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace corvana::test {

inline std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

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

} // namespace corvana::test
