#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace corvana {

// The random source of one puzzle build. Every fill call reseeds it, as the number routines
// require, but from the build seed and the call's number rather than from the clock: two calls
// in one clock tick still draw different numbers, and a build can be made again from its seed.
// std::mt19937_64 and the integer scaling below give the same numbers on every machine.
class RandomSource {
public:
    explicit RandomSource(std::uint64_t buildSeed) : seed_(buildSeed) {}

    // A seed from a high-resolution clock, for builds that were not given one.
    static std::uint64_t ClockSeed();

    std::uint64_t Seed() const { return seed_; }

    // Starts the next fill call's sequence.
    void Reseed();

    // floor(r x k) for r uniform in [0, 1), k > 0.
    std::int64_t Scaled(std::int64_t k);

private:
    std::uint64_t seed_;
    std::uint64_t calls_ = 0;
    std::mt19937_64 engine_;
};

// A seed as people write it: a whole number from 0 to 2^64 - 1 in decimal digits only (no sign,
// no spaces), or nothing.
std::optional<std::uint64_t> ParseSeed(const std::string& text);

} // namespace corvana
