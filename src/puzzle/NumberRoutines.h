#pragma once

// The number routines of puzzle generation: drawing, joining, sorting and padding the lists
// of one digit count. Lists hold their entries from index 0; an empty vector is an empty list.
// One 64-bit type serves the plain (2 to 8 digits) and the wide (9 and 10 digits) twins; the
// twins differ only where the rules do.

#include <cstdint>
#include <string>
#include <vector>

namespace corvana {

class RandomSource;

using NumberList = std::vector<std::int64_t>;
using CaptionList = std::vector<std::string>;

// Replaces `target` with `count` random numbers of `digits` digits (2 to 8). Reseeds `random`
// first. Duplicates of up to 6 digits are raised apart unless `reduced`. An unsupported length
// fails with UnsupportedLengthMessage in `message` (for the caller to show); count 0 fails and
// leaves `message` alone. The target is untouched on failure.
bool FillNumbers(NumberList& target, int digits, int count, bool reduced, RandomSource& random,
                 std::string& message);
// The same for 9 and 10 digits, without duplicate removal.
bool FillNumbersWide(NumberList& target, int digits, int count, bool reduced, RandomSource& random,
                     std::string& message);

// The value written in base six and read back as a decimal number (8 base-6 digits; the wide
// twin 10). Callers pass values below 6^8 (6^10).
std::int64_t ToBaseSix(std::int64_t value);
std::int64_t ToBaseSixWide(std::int64_t value);

// result = first followed by second; false (result untouched) when both are empty.
bool JoinLists(const NumberList& first, const NumberList& second, NumberList& result);
bool JoinListsWide(const NumberList& first, const NumberList& second, NumberList& result);

// Sorts ascending in place and makes one decimal caption per entry.
bool SortToCaptions(NumberList& list, CaptionList& captions);
bool SortToCaptionsWide(NumberList& list, CaptionList& captions);

// Pads every caption with leading zeros to `digits` characters; false for an empty list.
bool PadCaptions(CaptionList& captions, int digits);

// The leading whole number of a text, 0 when it does not start with a digit.
std::int64_t LeadingNumber(const std::string& text);

// The message shown for a length the fill routines do not support.
std::string UnsupportedLengthMessage(int digits);

} // namespace corvana
