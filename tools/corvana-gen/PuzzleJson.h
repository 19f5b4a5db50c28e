#pragma once

// The JSON form of a puzzle: what corvana-gen writes, and reads back to solve.

#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Solver.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace corvana {

using Json = nlohmann::ordered_json;

// One text per row: '#' a black square, '.' an empty one, else its digit.
std::vector<std::string> GridRows(const PuzzleState& s, const std::vector<std::int16_t>& values);
std::vector<std::string> GridRows(const FillIn& puzzle, const SolvedGrid& grid);

// The puzzle's keys: name, size, width, seed, reduced, noShowFirst, starter, solution, user,
// lists, listsDown, solutions, draws.
Json PuzzleJson(const PuzzleState& s);
// The puzzle as an ipuz (v2, kind fill) document.
Json IpuzJson(const PuzzleState& s, const TemplateRecord& t);
// The solver's answer: solutions (1, or 2 for two or more) and grids.
Json SolutionsJson(const FillIn& puzzle, const SolveResult& result);

// One key to a line, each value on its line with ", " between items.
void WritePretty(std::ostream& out, const Json& object);

// Reads a puzzle in the JSON form (width, user, lists and listsDown are needed; a file edited
// by hand is fine). On failure returns what is wrong, in a few words.
std::optional<std::string> PuzzleFromJson(const std::string& text, FillIn& puzzle);

} // namespace corvana
