#include "puzzle/GeneratePuzzle.h"
#include "puzzle/RandomSource.h"
#include "puzzle/Templates.h"

#include <exception>

namespace corvana {

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

bool FillAcross(PuzzleState& s, const SlotGroup& group, RandomSource& random, std::string& message) {
    const int count = static_cast<int>(group.across.size());
    auto& target = s.Across[At(group.digits)];
    if (group.digits >= 9)
        return FillNumbersWide(target, group.digits, count, s.ReducedNumbers, random, message);
    return FillNumbers(target, group.digits, count, s.ReducedNumbers, random, message);
}

void WriteAcross(PuzzleState& s, const SlotGroup& group) {
    for (std::size_t k = 0; k < group.across.size(); ++k) {
        const std::string text = std::to_string(s.Across[At(group.digits)][k]);
        for (std::size_t m = 0; m < text.size(); ++m) {
            const std::size_t cell = At(group.across[k]) + m;
            s.SolutionArray.at(cell) = static_cast<std::int16_t>(text[m] - '0');
            s.GridPattern.at(cell) = true;
        }
    }
}

void ReadDown(PuzzleState& s, const SlotGroup& group, int width) {
    auto& texts = s.DownText[At(group.digits)];
    auto& values = s.Down[At(group.digits)];
    for (std::size_t k = 0; k < group.down.size(); ++k) {
        for (int m = 0; m < group.digits; ++m)
            texts[k] += std::to_string(s.SolutionArray.at(At(group.down[k] + m * width)));
        values[k] = LeadingNumber(texts[k]);
    }
}

bool BuildLists(PuzzleState& s, const TemplateRecord& t) {
    if (!t.SeparateLists()) {
        for (const auto& group : t.slots) {
            const std::size_t n = At(group.digits);
            // A direction without slots of this length must not join in a previous puzzle's list.
            if (group.across.empty())
                s.Across[n].clear();
            if (group.down.empty())
                s.Down[n].clear();
            const bool joined = group.digits >= 9 ? JoinListsWide(s.Across[n], s.Down[n], s.Numbers[n])
                                                  : JoinLists(s.Across[n], s.Down[n], s.Numbers[n]);
            if (!joined)
                return false;
        }
        for (const auto& group : t.slots) {
            const std::size_t n = At(group.digits);
            const bool sorted = group.digits >= 9 ? SortToCaptionsWide(s.Numbers[n], s.Captions[n])
                                                  : SortToCaptions(s.Numbers[n], s.Captions[n]);
            if (!sorted)
                return false;
        }
        for (const auto& group : t.slots)
            if (!PadCaptions(s.Captions[At(group.digits)], group.digits))
                return false;
        return true;
    }
    for (const auto& group : t.slots)
        s.Numbers[At(group.digits)] = s.Across[At(group.digits)];
    for (const auto& group : t.slots)
        s.NumbersDown[At(group.digits)] = s.Down[At(group.digits)];
    for (const auto& group : t.slots)
        if (!SortToCaptions(s.Numbers[At(group.digits)], s.Captions[At(group.digits)]))
            return false;
    for (const auto& group : t.slots)
        if (!SortToCaptions(s.NumbersDown[At(group.digits)], s.CaptionsDown[At(group.digits)]))
            return false;
    for (const auto& group : t.slots)
        if (!PadCaptions(s.Captions[At(group.digits)], group.digits))
            return false;
    for (const auto& group : t.slots)
        if (!PadCaptions(s.CaptionsDown[At(group.digits)], group.digits))
            return false;
    return true;
}

bool Build(PuzzleState& s, const TemplateRecord& t, RandomSource& random, std::string& message) {
    const int width = t.Width();
    const auto cells = At(CellCount(t.size));
    s.GridPattern.assign(cells, false);
    s.SolutionArray.assign(cells, -1);
    s.UserArray.assign(cells, -1);

    for (const auto& group : t.slots) {
        s.DownText[At(group.digits)].assign(group.down.size(), std::string());
        s.Down[At(group.digits)].assign(group.down.size(), 0);
    }
    for (const auto& group : t.slots)
        if (!group.across.empty() && !FillAcross(s, group, random, message))
            return false;

    // Every white square lies in an across slot, so writing the across numbers paints the
    // white squares; everything else stays black.
    for (const auto& group : t.slots)
        WriteAcross(s, group);
    for (const auto& group : t.slots)
        ReadDown(s, group, width);

    if (!BuildLists(s, t))
        return false;

    s.StarterFirstCell = t.StarterFirstCell();
    s.StarterLastCell = t.StarterLastCell();
    for (int cell = s.StarterFirstCell; cell <= s.StarterLastCell; ++cell)
        s.UserArray.at(At(cell)) = s.NoShowFirst ? std::int16_t{-1} : s.SolutionArray.at(At(cell));

    // The lists of lengths this template lacks go with their captions, and the down lists of a
    // template that joins them, so nothing of an earlier puzzle is kept (or saved) with this one.
    for (int n = kShortest; n <= kLongest; ++n) {
        if (t.Group(n) == nullptr) {
            s.Numbers[At(n)].clear();
            s.Captions[At(n)].clear();
        }
        if (t.Group(n) == nullptr || !t.SeparateLists()) {
            s.NumbersDown[At(n)].clear();
            s.CaptionsDown[At(n)].clear();
        }
    }
    return true;
}

} // namespace

FillIn ShownPuzzle(const PuzzleState& state) {
    const TemplateRecord& t = *FindTemplate(state.PuzzleName);
    FillIn puzzle;
    puzzle.width = t.Width();
    puzzle.white = state.GridPattern;
    puzzle.given.assign(state.GridPattern.size(), -1);
    for (int cell = state.StarterFirstCell; cell <= state.StarterLastCell; ++cell)
        puzzle.given.at(At(cell)) = state.SolutionArray.at(At(cell));
    puzzle.separate = t.SeparateLists();
    for (const auto& group : t.slots) {
        puzzle.across[group.digits] = state.Captions[At(group.digits)];
        if (puzzle.separate)
            puzzle.down[group.digits] = state.CaptionsDown[At(group.digits)];
    }
    return puzzle;
}

GenerateResult GeneratePuzzle(PuzzleState& state, std::optional<std::uint64_t> seed, int maxDraws) {
    GenerateResult result;
    const TemplateRecord* record = FindTemplate(state.PuzzleName);
    if (record == nullptr)
        return result;
    // Every draw continues the same random source, so a seed still gives one puzzle.
    RandomSource random(seed ? *seed : RandomSource::ClockSeed());
    state.Seed = random.Seed();
    try {
        for (int draw = 1;; ++draw) {
            if (!Build(state, *record, random, result.message))
                return result;
            if (maxDraws == 0) {
                state.Draws = 1;
                state.Solutions = 0;
                result.ok = true;
                return result;
            }
            // A draw the solver cannot decide within its budget is no better than one with two
            // solutions: it is drawn again (and, kept as the last, reported unchecked).
            const SolveResult check = Solve(ShownPuzzle(state), 2);
            state.Draws = draw;
            state.Solutions = check.undecided ? 0 : check.solutions;
            if ((check.solutions == 1 && !check.undecided) || draw >= maxDraws) {
                result.ok = true;
                return result;
            }
        }
    } catch (const std::exception&) {
        return result;
    }
}

} // namespace corvana
