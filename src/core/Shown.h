#pragma once

// What a widget showed when it was last brought in line with its model, so that a window
// touches only what changed. A value not yet shown (or forgotten) differs from everything.

#include <optional>
#include <utility>

namespace corvana {

template <typename T> class Shown {
public:
    // Nothing shown yet: the first Update reports a change.
    Shown() = default;
    // The widget starts out showing `initial`, so an Update to it is no change.
    explicit Shown(T initial) : value_(std::move(initial)) {}

    // True when `now` differs from what was shown last; it is then remembered as shown.
    bool Update(const T& now) {
        if (value_ && *value_ == now)
            return false;
        value_ = now;
        return true;
    }
    bool Differs(const T& now) const { return !value_ || !(*value_ == now); }
    bool Is(const T& value) const { return value_ && *value_ == value; }
    bool Known() const { return value_.has_value(); }
    // The next Update reports a change whatever it is given.
    void Forget() { value_.reset(); }

private:
    std::optional<T> value_;
};

} // namespace corvana
