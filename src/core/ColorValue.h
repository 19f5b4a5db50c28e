#pragma once

#include <cstdint>

namespace corvana {

// A packed colour value 0x00BBGGRR (red in the low byte), as the colour scheme and the colour
// file keep it.
using ColorValue = std::int32_t;

} // namespace corvana
