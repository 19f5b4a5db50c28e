#pragma once

// The two squares a user clicks for AutoFill: the first is where the buffer's number starts,
// the second says which way it runs.

#include <optional>

namespace corvana {

enum class FillDirection { Across, Down };

class FillSelection {
public:
    // The squares picked, or -1.
    int First() const { return first_.value_or(-1); }
    int Second() const { return second_.value_or(-1); }
    bool HasFirst() const { return first_.has_value(); }
    bool Complete() const { return first_ && second_; }

    void PickFirst(int cell) {
        first_ = cell;
        second_.reset();
    }
    void PickSecond(int cell) { second_ = cell; }
    void Clear() {
        first_.reset();
        second_.reset();
    }

    // Down when the two squares are further apart in rows than in columns of a grid this wide.
    FillDirection Direction(int width) const;

private:
    std::optional<int> first_;
    std::optional<int> second_;
};

} // namespace corvana
