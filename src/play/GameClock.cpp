#include "play/GameClock.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace corvana {

GameClock::GameClock()
    : reading_([] {
          return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
      }) {}

void GameClock::SetReading(Reading reading) {
    spent_ = TimeSpent();
    reading_ = std::move(reading);
    startedAt_ = reading_();
}

void GameClock::Start(double spent, bool finished) {
    spent_ = spent;
    startedAt_ = reading_();
    finished_ = finished;
}

double GameClock::TimeSpent() const {
    // A clock set back (or a new one) never takes time away.
    return spent_ + (Running() ? std::max(reading_() - startedAt_, 0.0) : 0.0);
}

std::int64_t GameClock::SecondsSpent() const {
    return static_cast<std::int64_t>(std::floor(TimeSpent()));
}

void GameClock::Settle() {
    spent_ = TimeSpent();
    startedAt_ = reading_();
}

void GameClock::Pause() {
    Settle();
    paused_ = true;
}

void GameClock::Resume() {
    Settle();
    paused_ = false;
}

void GameClock::Finish() {
    Settle();
    finished_ = true;
}

} // namespace corvana
