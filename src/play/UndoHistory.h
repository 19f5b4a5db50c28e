#pragma once

// The one action Undo can take back: a typed digit, a cleared square or a whole number written
// by AutoFill or Hint. Kept as typed steps; the text form ("2", "14,-1,3", "15,-1,7") exists only
// for the kept game and for UndoArray, where it is what the user's file holds.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

// One square written: its cell and the digit before and after (-1: empty).
struct UndoStep {
    int cell = 0;
    int oldValue = 0;
    int newValue = 0;
    bool operator==(const UndoStep& o) const {
        return cell == o.cell && oldValue == o.oldValue && newValue == o.newValue;
    }
};

class UndoHistory {
public:
    // Nothing to undo.
    void Clear();
    // The action that wrote these squares, in writing order, replaces the one kept.
    void Record(std::vector<UndoStep> steps);

    // The steps kept; nullopt for a step of a kept game that could not be read.
    const std::vector<std::optional<UndoStep>>& Steps() const { return steps_; }
    // The number the kept action starts with: its step count, as written; Undo acts only when
    // it is above 0.
    std::int64_t Count() const { return count_; }

    // The text form: the count, then one "cell,old,new" per step.
    std::vector<std::string> ToText() const;
    static UndoHistory FromText(const std::vector<std::string>& text);
    static std::string StepText(const UndoStep& step);
    // The step a text holds: three 16-bit whole numbers between commas; nullopt for anything else.
    static std::optional<UndoStep> ParseStep(const std::string& text);

private:
    std::int64_t count_ = 0;
    std::vector<std::optional<UndoStep>> steps_;
};

} // namespace corvana
