#pragma once

// The program's default colour scheme, for comparing a scheme against.

#include "colors/ColorScheme.h"

#include <string>

namespace corvana::test {

inline ColorScheme Defaults() {
    ColorScheme s;
    SetDefaultColors(s);
    return s;
}

// The colour file that holds the defaults, byte for byte.
inline const std::string kDefaultFile = "16384\r\n4194304\r\n4194368\r\n16777215\r\n16777215\r\n8454143\r\n"
                                        "65535\r\n16776960\r\n16744703\r\n8421504\r\n8421504\r\n8421504\r\n";

} // namespace corvana::test
