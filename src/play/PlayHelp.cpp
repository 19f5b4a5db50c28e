// Help on demand: Hint, Check and what the status bar says about the puzzle.

#include "play/PlayForm.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace corvana {

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

// Switching back is the user's choice; in the solution view there is nothing of theirs to judge.
constexpr const char* kHintOnSolution = "Hint works on your own grid: switch back from the solution first.";
constexpr const char* kCheckOnSolution = "Check works on your own grid: switch back from the solution first.";
constexpr const char* kNoSolution = "The puzzle as shown has no solution, so it cannot be judged.";

} // namespace

std::string PlayForm::PuzzleText() const {
    std::string text = "seed " + std::to_string(puzzle_.Seed);
    if (puzzle_.ReducedNumbers)
        text += ", Reduced Numbers";
    if (puzzle_.NoShowFirst)
        text += ", Don't Show First Number";
    return text;
}

FillIn PuzzleAsShown(const PuzzleState& puzzle, bool starterHidden) {
    FillIn shown;
    if (FindTemplate(puzzle.PuzzleName) == nullptr)
        return shown;
    try {
        shown = ShownPuzzle(puzzle);
    } catch (const std::exception&) {
        return FillIn{};
    }
    // A hidden starting number is no part of the puzzle as the user sees it: any fill that fits
    // the lists is as right as the generated one until it is shown.
    if (starterHidden)
        shown.given.assign(shown.given.size(), -1);
    return shown;
}

std::vector<int> UserDigits(const PuzzleState& puzzle) {
    std::vector<int> grid(puzzle.UserArray.size(), -1);
    for (std::size_t i = 0; i < grid.size() && i < puzzle.GridPattern.size(); ++i)
        if (puzzle.GridPattern[i] && puzzle.UserArray[i] >= 0 && puzzle.UserArray[i] <= 9)
            grid[i] = puzzle.UserArray[i];
    return grid;
}

bool GameSolved(const PuzzleState& puzzle, bool starterHidden) {
    return IsSolved(PuzzleAsShown(puzzle, starterHidden), UserDigits(puzzle));
}

FillIn PlayForm::ShownNow() const {
    return PuzzleAsShown(puzzle_, StarterHidden_);
}

std::vector<int> PlayForm::UserGrid() const {
    return UserDigits(puzzle_);
}

bool PlayForm::GridSolved() const {
    return IsSolved(ShownNow(), UserGrid());
}

void PlayForm::ShowMarks() {
    wrongMarks_.resize(cells_.size(), false);
    const bool show = !SolutionShown_ && !printing_;
    for (std::size_t i = 0; i < cells_.size(); ++i)
        cells_[i].wrong = show && wrongMarks_[i];
}

void PlayForm::PlaceNumber(const std::string& number, const std::vector<int>& cells, bool down) {
    // Written as AutoFill writes a number, so that Undo takes it back whole and unticks it.
    if (!std::all_of(cells.begin(), cells.end(), [this](int cell) { return IsCell(cell); }))
        return;
    WriteNumber(number, cells);

    // The hint ticks a copy of its number that is not yet ticked; the click that does it must
    // not take the user's buffer.
    const std::string keptBuffer = BufferText_;
    const bool keptFromAcross = BufferFromAcross_;
    const bool list = config_.separateLists && down;
    for (std::size_t id = 0; id < boxes_.size(); ++id) {
        const ListBox& box = boxes_[id];
        if (box.visible && box.down == list && box.value == 0 && box.caption == number) {
            SetBoxValue(static_cast<int>(id), 1);
            break;
        }
    }
    SetBuffer(keptBuffer);
    BufferFromAcross_ = keptFromAcross;
}

void PlayForm::mnuHint_Click() {
    if (SolutionShown_) {
        statusText_ = kHintOnSolution;
        return;
    }
    ++hints_;
    assisted_ = true;
    const FillIn shown = ShownNow();
    const std::vector<int> user = UserGrid();

    // The rules cannot tell a wrong digit from a right one, so nothing is hinted on a wrong one.
    const CheckResult check = CheckGrid(shown, user);
    if (!check.error.empty()) {
        statusText_ = "The puzzle cannot be read: " + check.error + ".";
        return;
    }
    if (check.undecided) {
        statusText_ = CheckText(check);
        return;
    }
    if (check.solutions == 0) {
        statusText_ = kNoSolution;
        return;
    }
    if (!check.wrong.empty()) {
        const bool one = check.wrong.size() == 1;
        statusText_ = CheckText(check) + ", so there is no hint until " + (one ? "it is" : "they are") +
                      " put right: Check shows which.";
        return;
    }

    // A shown starting number the user has cleared goes back first: it is no one's guess.
    if (!StarterHidden_) {
        std::string starter;
        std::vector<int> cells;
        bool missing = false;
        for (int i = puzzle_.StarterFirstCell; i <= puzzle_.StarterLastCell && IsCell(i); ++i) {
            starter += std::to_string(puzzle_.SolutionArray[At(i)]);
            cells.push_back(i);
            missing = missing || user[At(i)] < 0;
        }
        if (missing && !cells.empty()) {
            PlaceNumber(starter, cells, false);
            statusText_ = starter + " goes across at row " + std::to_string(cells[0] / Width() + 1) +
                          ", column " + std::to_string(cells[0] % Width() + 1) +
                          ": it is the starting number.";
            CheckSolved();
            return;
        }
    }

    FillIn grid = shown;
    for (std::size_t i = 0; i < grid.given.size() && i < user.size(); ++i)
        if (user[i] >= 0)
            grid.given[i] = user[i];
    const HintStep step = NextStep(grid);
    statusText_ = step.text;
    if (step.outcome != HintStep::Outcome::Placed)
        return;
    PlaceNumber(step.number, step.cells, step.down);
    CheckSolved();
}

void PlayForm::mnuCheck_Click() {
    if (SolutionShown_) {
        statusText_ = kCheckOnSolution;
        return;
    }
    ++checks_;
    assisted_ = true;
    wrongMarks_.assign(cells_.size(), false);
    const CheckResult check = CheckGrid(ShownNow(), UserGrid());
    if (!check.error.empty())
        statusText_ = "The puzzle cannot be read: " + check.error + ".";
    else if (check.solutions == 0 && !check.undecided)
        statusText_ = kNoSolution;
    else
        statusText_ = CheckText(check);
    for (const int cell : check.wrong)
        if (cell >= 0 && At(cell) < wrongMarks_.size())
            wrongMarks_[At(cell)] = true;
    ShowMarks();
}

} // namespace corvana
