#pragma once

// The twelve colours of the play windows (four roles for each of the three size classes) and
// the colour file that keeps them between runs. Qt-free.

#include "core/ColorValue.h"

#include <array>
#include <string>

namespace corvana {

inline constexpr ColorValue kBlack = 0x000000;
inline constexpr ColorValue kWhite = 0xFFFFFF;
inline constexpr ColorValue kRed = 0x0000FF; // 0x00BBGGRR
inline constexpr ColorValue kBlue = 0xFF0000;
inline constexpr ColorValue kGrey = 0x808080;

struct ColorScheme {
    // Indexed by size class: 0 Small, 1 Normal, 2 Large.
    std::array<ColorValue, 3> BackgroundColor{};
    std::array<ColorValue, 3> PrimaryColor{};
    std::array<ColorValue, 3> SecondaryColor{};
    std::array<ColorValue, 3> CheckedColor{};

    bool operator==(const ColorScheme& o) const {
        return BackgroundColor == o.BackgroundColor && PrimaryColor == o.PrimaryColor &&
               SecondaryColor == o.SecondaryColor && CheckedColor == o.CheckedColor;
    }
    bool operator!=(const ColorScheme& o) const { return !(*this == o); }
};

// The file's name; it lives in the program's folder (see ColorFilePath in the app).
inline constexpr const char* kColorFileName = "QUAVColors.txt";

void SetDefaultColors(ColorScheme& scheme);
// True when the file was read, or when there is none (scheme unchanged). False when reading
// failed; values read before the failure stay in the scheme. The file is always closed. Only a
// regular file (or a link to one) is read, and only its first few kilobytes: anything else of
// that name, or twelve values that do not fit in them, is a damaged file.
bool LoadColorFile(ColorScheme& scheme, const std::string& path);
// True when no file is left at `path`.
bool DeleteColorFile(const std::string& path);
// Writes the twelve values; never leaves a half-written file behind and never writes through a
// link (a link at `path` is replaced by the new file).
bool SaveColorFile(const ColorScheme& scheme, const std::string& path);

} // namespace corvana
