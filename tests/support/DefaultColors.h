#pragma once

// The program's default colour scheme, for comparing a scheme against.

#include "colors/ColorScheme.h"

namespace corvana::test {

inline ColorScheme Defaults() {
    ColorScheme s;
    SetDefaultColors(s);
    return s;
}

} // namespace corvana::test
