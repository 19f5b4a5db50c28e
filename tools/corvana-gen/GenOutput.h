#pragma once

// What corvana-gen writes: a puzzle as JSON (the puzzle file's form with its grade), as ipuz, and
// the solver's answer.

#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"
#include "solver/Solver.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <vector>

namespace corvana {

using Json = nlohmann::ordered_json;

// How many solutions the puzzle has as it is given out (1, or 2 for two or more): with the
// starting number shown that is what generation checked; with it hidden the grid is solved
// again without it, since a grid symmetric about its diagonal then reads both ways.
int SolutionsAsGivenOut(const PuzzleState& s);

// How hard the puzzle is as it is given out: with the starting number hidden the rules start
// from an empty grid, and on a grid that then reads both ways they never finish (Expert).
Grade GradeAsGivenOut(const PuzzleState& s);

// The puzzle's keys: name, size, width, seed, reduced, noShowFirst, starter, solution, user,
// lists, listsDown, solutions, draws, grade. `solutions` is s.Solutions, which corvana-gen sets
// to SolutionsAsGivenOut; `grade` is GradeName(grade).
Json PuzzleJson(const PuzzleState& s, Grade grade);

// The lists as a reader sees them printed: a line "N Digits: ..." per length, under "ACROSS" and
// "DOWN" where the template keeps them apart.
std::string ListsText(const PuzzleState& s, const TemplateRecord& t);

// What a puzzle maker puts on an ipuz; an empty field takes the program's own.
struct IpuzCredits {
    std::string title; // default: the template's name and the seed
    std::string author;
    std::string copyright;
};

// The puzzle as an ipuz v2 document. Its kinds are crossword first and fill after, since a
// reader takes the first kind it knows; the givens are in `puzzle`, the number lists under the
// extension keys `DOMAIN:lists` and `DOMAIN:listsDown` and, for readers that know no extension,
// as plain text in `intro`; the grade is its `difficulty`.
Json IpuzJson(const PuzzleState& s, const TemplateRecord& t, Grade grade, const IpuzCredits& credits = {});
// The solver's answer: solutions (1, or 2 for two or more), the puzzle's grade and the grids.
Json SolutionsJson(const FillIn& puzzle, const SolveResult& result, Grade grade);

// One key to a line, each value on its line with ", " between items.
void WritePretty(std::ostream& out, const Json& object);

} // namespace corvana
