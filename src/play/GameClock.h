#pragma once

// The time spent on one puzzle. It runs while the game is played, stands still while paused
// (the window minimised) and stops for good once the solved notice has been shown: nobody is
// solving then.

#include <cstdint>
#include <functional>

namespace corvana {

class GameClock {
public:
    // Seconds on a steady clock; the time spent is measured with it.
    using Reading = std::function<double()>;

    GameClock();

    // Measures from now on with another reading, keeping the time spent so far.
    void SetReading(Reading reading);
    // A game taken up (or begun, with 0) with this much time spent; finished: already solved.
    void Start(double spent, bool finished);
    void Pause();
    void Resume();
    // The game is solved: the time stops here.
    void Finish();

    bool Running() const { return !paused_ && !finished_; }
    bool Finished() const { return finished_; }
    double TimeSpent() const;
    // Whole seconds of TimeSpent.
    std::int64_t SecondsSpent() const;

private:
    // Takes the time spent so far into spent_, before the clock starts or stops.
    void Settle();

    Reading reading_;
    double startedAt_ = 0; // the reading when the time last started or settled
    double spent_ = 0;     // seconds spent before startedAt_
    bool paused_ = false;
    bool finished_ = false;
};

} // namespace corvana
