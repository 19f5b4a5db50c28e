#include "colors/ColorScheme.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <istream>
#include <limits>
#include <map>
#include <system_error>

namespace corvana {

namespace fs = std::filesystem;

void SetDefaultColors(ColorScheme& scheme) {
    scheme.BackgroundColor = {0x004000, 0x400000, 0x400040};
    scheme.PrimaryColor = {0xFFFFFF, 0xFFFFFF, 0x80FFFF};
    scheme.SecondaryColor = {0x00FFFF, 0xFFFF00, 0xFF80FF};
    scheme.CheckedColor = {0x808080, 0x808080, 0x808080};
}

namespace {

// The twelve slots in the order the file keeps them.
std::array<ColorValue*, 12> FileOrder(ColorScheme& s) {
    return {&s.BackgroundColor[0], &s.BackgroundColor[1], &s.BackgroundColor[2], &s.PrimaryColor[0],
            &s.PrimaryColor[1],    &s.PrimaryColor[2],    &s.SecondaryColor[0],  &s.SecondaryColor[1],
            &s.SecondaryColor[2],  &s.CheckedColor[0],    &s.CheckedColor[1],    &s.CheckedColor[2]};
}

std::array<ColorValue, 12> FileOrder(const ColorScheme& s) {
    return {s.BackgroundColor[0], s.BackgroundColor[1], s.BackgroundColor[2], s.PrimaryColor[0],
            s.PrimaryColor[1],    s.PrimaryColor[2],    s.SecondaryColor[0],  s.SecondaryColor[1],
            s.SecondaryColor[2],  s.CheckedColor[0],    s.CheckedColor[1],    s.CheckedColor[2]};
}

enum class Field { Value, TooBig, End, Error };

bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Consumes the rest of the field and its delimiter (a comma, or CR, LF or CR LF).
void SkipToNextField(std::istream& in) {
    for (;;) {
        const int c = in.get();
        if (c == std::char_traits<char>::eof() || c == ',' || c == '\n')
            return;
        if (c == '\r') {
            if (in.peek() == '\n')
                in.get();
            return;
        }
    }
}

// Reads one field character by character, so a huge line of junk costs no memory. The field's
// value is its leading number (optional sign, digits, optional fraction) rounded to the nearest
// whole number, ties to even; a field that does not begin with a number is 0.
Field ReadField(std::istream& in, ColorValue& out) {
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 32; // beyond any 32-bit value
    using Traits = std::char_traits<char>;

    // Blank space and empty lines before a value are not values of their own, so a file with
    // eleven values and a trailing empty line still counts as eleven.
    int c = in.peek();
    while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        in.get();
        c = in.peek();
    }
    if (c == Traits::eof())
        return in.bad() ? Field::Error : Field::End;
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        in.get();
        c = in.peek();
    }
    std::uint64_t whole = 0;
    bool tooBig = false;
    while (IsDigit(c)) {
        whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        if (whole >= kLimit) {
            tooBig = true;
            whole = kLimit;
        }
        in.get();
        c = in.peek();
    }
    if (c == '.') {
        in.get();
        c = in.peek();
        int firstDecimal = -1;
        bool laterNonZero = false;
        while (IsDigit(c)) {
            if (firstDecimal < 0)
                firstDecimal = c - '0';
            else if (c != '0')
                laterNonZero = true;
            in.get();
            c = in.peek();
        }
        if (firstDecimal > 5 || (firstDecimal == 5 && (laterNonZero || whole % 2 == 1)))
            ++whole;
    }
    if (c != Traits::eof())
        SkipToNextField(in);
    if (in.bad())
        return Field::Error;

    const std::uint64_t maxMagnitude =
        negative ? std::uint64_t{1} << 31
                 : static_cast<std::uint64_t>(std::numeric_limits<ColorValue>::max());
    if (tooBig || whole > maxMagnitude)
        return Field::TooBig;
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
    out = static_cast<ColorValue>(value);
    return Field::Value;
}

} // namespace

bool LoadColorFile(ColorScheme& scheme, const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return true;
    if (ec || st.type() == fs::file_type::directory)
        return false;

    // The stream closes the file on every way out, so a failed read never keeps it open and
    // the caller's delete that follows can succeed.
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return false;
    for (ColorValue* slot : FileOrder(scheme)) {
        ColorValue value = 0;
        if (ReadField(in, value) != Field::Value)
            return false;
        *slot = value;
    }
    return true;
}

bool DeleteColorFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (st.type() == fs::file_type::not_found)
        return true;
    // A folder of that name is not ours to remove.
    if (ec || st.type() == fs::file_type::directory)
        return false;
    fs::remove(path, ec);
    return !ec;
}

bool SaveColorFile(const ColorScheme& scheme, const std::string& path) {
    // The new scheme goes to a file beside the old one and replaces it in one rename, so a
    // failure part-way leaves the previous file as it was, never a half-written one.
    const std::string temp = path + ".tmp";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.is_open())
            return false;
        for (const ColorValue value : FileOrder(scheme))
            out << value << "\r\n";
        out.close();
        if (out.fail()) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

std::optional<std::vector<int>> PrimarySet(std::string_view puzzleName) {
    static const std::map<std::string_view, std::vector<int>> kPrimary = {
        {"Small Puzzle H", {2, 10}},
        {"Small Puzzle Pinwheel", {3}},
        {"Small Puzzle Five Squares", {4}},
        {"Small Puzzle Wheel", {3, 8}},
        {"Small Puzzle Project X", {2, 4, 8}},
        {"Normal Puzzle Plus", {3, 7}},
        {"Normal Puzzle Steps", {3, 5, 7, 8}},
        {"Normal Puzzle Shield", {2, 4, 5, 7}},
        {"Normal Puzzle Broken Pieces", {3, 5, 7}},
        {"Normal Puzzle Five Plus", {3, 5, 6}},
        {"Normal Puzzle Angled", {3, 5, 8}},
        {"Normal Puzzle HTT", {2, 4, 7}},
        {"Large Puzzle Crazy Eights", {3, 6}},
        {"Large Puzzle Squares", {3, 5, 7}},
        {"Large Puzzle Four Electrodes", {3, 8}},
    };
    const auto it = kPrimary.find(puzzleName);
    if (it == kPrimary.end())
        return std::nullopt;
    return it->second;
}

} // namespace corvana
