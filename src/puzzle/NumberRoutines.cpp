#include "puzzle/NumberRoutines.h"

#include "puzzle/RandomSource.h"

#include <algorithm>
#include <utility>

namespace corvana {

namespace {

struct Range {
    std::int64_t k;
    std::int64_t l;
};

// value = floor(r x K) + L, indexed by digit count from 2 (no list holds 1-digit numbers). The
// normal range never starts with 0; the reduced one has exactly N base-6 digits, so after
// ToBaseSix exactly N decimal digits.
constexpr Range kNormal[] = {{80, 10},
                             {890, 100},
                             {8990, 1000},
                             {89990, 10000},
                             {899990, 100000},
                             {8999990, 1000000},
                             {89999990, 10000000},
                             {899999990, 100000000},
                             {8999999990, 1000000000}};
constexpr Range kReduced[] = {{25, 10},          {179, 36},          {1080, 216},
                              {6420, 1296},      {38879, 7776},      {233279, 46656},
                              {1399679, 279936}, {8398079, 1679616}, {50388480, 10077696}};

std::int64_t PowerOfTen(int e) {
    std::int64_t p = 1;
    for (int i = 0; i < e; ++i)
        p *= 10;
    return p;
}

std::int64_t BaseSix(std::int64_t value, int positions) {
    std::int64_t place = 1;
    for (int p = 1; p < positions; ++p)
        place *= 6;
    std::string text;
    for (int p = positions; p >= 1; --p, place /= 6) {
        std::int64_t digit = 0;
        if (value >= place) { // place is at least 1
            digit = value / place;
            value -= digit * place;
        }
        text += std::to_string(digit);
    }
    return LeadingNumber(text);
}

// Raises later equal values by one until no two are equal, except where a raise would need
// another digit.
void RemoveDuplicates(NumberList& list, int digits) {
    const std::int64_t largest = PowerOfTen(digits) - 1;
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t i = 0; i + 1 < list.size(); ++i)
            for (std::size_t j = i + 1; j < list.size(); ++j)
                if (list[i] == list[j] && list[i] + 1 <= largest) {
                    ++list[j];
                    changed = true;
                }
    }
}

bool Fill(NumberList& target, int digits, int count, bool reduced, RandomSource& random, std::string& message,
          int shortest, int longest) {
    random.Reseed();
    if (count < 1)
        return false;
    if (digits < shortest || digits > longest) {
        message = UnsupportedLengthMessage(digits);
        return false;
    }
    const bool wide = digits > 8;
    const Range range = reduced ? kReduced[digits - 2] : kNormal[digits - 2];
    NumberList values(static_cast<std::size_t>(count));
    for (auto& value : values) {
        value = random.Scaled(range.k) + range.l;
        if (reduced)
            value = wide ? ToBaseSixWide(value) : ToBaseSix(value);
    }
    if (!wide && digits <= 6 && !reduced)
        RemoveDuplicates(values, digits);
    target = std::move(values);
    return true;
}

} // namespace

std::string UnsupportedLengthMessage(int digits) {
    return "Values of length " + std::to_string(digits) + " digit(s) not supported, only 2-10.";
}

bool FillNumbers(NumberList& target, int digits, int count, bool reduced, RandomSource& random,
                 std::string& message) {
    return Fill(target, digits, count, reduced, random, message, 2, 8);
}

bool FillNumbersWide(NumberList& target, int digits, int count, bool reduced, RandomSource& random,
                     std::string& message) {
    return Fill(target, digits, count, reduced, random, message, 9, 10);
}

std::int64_t ToBaseSix(std::int64_t value) {
    return BaseSix(value, 8);
}
std::int64_t ToBaseSixWide(std::int64_t value) {
    return BaseSix(value, 10);
}

bool JoinLists(const NumberList& first, const NumberList& second, NumberList& result) {
    if (first.empty() && second.empty())
        return false;
    NumberList joined(first);
    joined.insert(joined.end(), second.begin(), second.end());
    result = std::move(joined);
    return true;
}

bool JoinListsWide(const NumberList& first, const NumberList& second, NumberList& result) {
    return JoinLists(first, second, result);
}

bool SortToCaptions(NumberList& list, CaptionList& captions) {
    // Ascending. Equal numbers cannot be told apart, so no sort order among them shows.
    std::sort(list.begin(), list.end());
    captions.clear();
    captions.reserve(list.size());
    for (const auto value : list)
        captions.push_back(std::to_string(value));
    return true;
}

bool SortToCaptionsWide(NumberList& list, CaptionList& captions) {
    return SortToCaptions(list, captions);
}

bool PadCaptions(CaptionList& captions, int digits) {
    if (captions.empty())
        return false;
    for (auto& caption : captions) {
        const std::int64_t value = LeadingNumber(caption);
        std::size_t zeros = 0;
        for (int e = 1; e <= digits - 1; ++e)
            if (PowerOfTen(e) > value)
                ++zeros;
        caption.insert(0, zeros, '0');
    }
    return true;
}

std::int64_t LeadingNumber(const std::string& text) {
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        if (value > (INT64_MAX - 9) / 10)
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace corvana
