#include "puzzle/RandomSource.h"

#include <atomic>
#include <chrono>
#include <climits>

namespace corvana {

namespace {

std::uint64_t SplitMix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

std::uint64_t RandomSource::ClockSeed() {
    // The counter keeps two seeds drawn within one clock tick apart.
    static std::atomic<std::uint64_t> counter{0};
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return SplitMix64(static_cast<std::uint64_t>(ticks) ^ SplitMix64(counter.fetch_add(1)));
}

std::optional<std::uint64_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

void RandomSource::Reseed() {
    ++calls_;
    engine_.seed(SplitMix64(seed_ ^ SplitMix64(calls_)));
}

std::int64_t RandomSource::Scaled(std::int64_t k) {
    // r = x / 2^64, so floor(r x k) is the high word of x * k: exact, with no rounding that
    // could ever reach k itself.
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(engine_()) * static_cast<Wide>(static_cast<std::uint64_t>(k));
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(product >> 64));
}

} // namespace corvana
