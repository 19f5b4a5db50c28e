#include "colors/ColorScheme.h"
#include "files/FileAccess.h"
#include "files/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <limits>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The real file is twelve short lines, about a hundred bytes. Nothing past this is ever read,
// so whatever lies at the path (a huge file, a link to an endless device) cannot keep the
// program from starting.
constexpr std::size_t kMostBytesRead = 4096;

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
// whole number, ties to even; a field that does not begin with a number is 0. `cut` says the
// text stops where reading stopped, not where the file ends: a number that runs up to that point
// may go on beyond it, so it is not a value.
Field ReadField(std::istream& in, ColorValue& out, bool cut) {
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
    while (IsDigit(c)) {
        // Held at the limit, beyond any value, however many digits follow.
        whole = std::min(whole * 10 + static_cast<std::uint64_t>(c - '0'), kLimit);
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
    if (c == Traits::eof() && cut)
        return Field::End;
    if (c != Traits::eof())
        SkipToNextField(in);
    if (in.bad())
        return Field::Error;

    const std::uint64_t maxMagnitude =
        negative ? std::uint64_t{1} << 31
                 : static_cast<std::uint64_t>(std::numeric_limits<ColorValue>::max());
    if (whole > maxMagnitude)
        return Field::TooBig;
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
    out = static_cast<ColorValue>(value);
    return Field::Value;
}

// The file's first bytes, at most kMostBytesRead of them; `cut` tells whether there were more.
// Only a regular file is read, a link to one included. Anything else of that name (a FIFO, a
// device, a folder) is no colour file: it is opened without waiting, so a FIFO with no writer
// cannot block, and then refused.
enum class Opened { Read, Missing, Refused };
Opened ReadHead(const std::string& path, std::string& text, bool& cut) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Opened::Missing : Opened::Refused;
    // Asked before opening as well, because opening some devices already does something.
    if (!S_ISREG(st.st_mode))
        return Opened::Refused;
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? Opened::Missing : Opened::Refused;
    // What was opened is what counts: the name may have been changed in between.
    if (::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return Opened::Refused;

    text.assign(kMostBytesRead + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(file.get(), text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Opened::Refused;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    cut = got > kMostBytesRead;
    text.resize(std::min(got, kMostBytesRead));
    return Opened::Read;
}

} // namespace

bool LoadColorFile(ColorScheme& scheme, const std::string& path) {
    std::string text;
    bool cut = false;
    switch (ReadHead(path, text, cut)) {
    case Opened::Missing:
        return true;
    case Opened::Refused:
        return false;
    case Opened::Read:
        break;
    }
    // The file is closed already, so a failed read never keeps it open and the caller's delete
    // that follows can succeed.
    std::istringstream in(text);
    for (ColorValue* slot : FileOrder(scheme)) {
        ColorValue value = 0;
        if (ReadField(in, value, cut) != Field::Value)
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
    std::string text;
    for (const ColorValue value : FileOrder(scheme))
        text += std::to_string(value) + "\r\n";

    // The new scheme takes the old one's place in one rename once it is safely on the disk: a
    // failure part-way leaves the previous file as it was, never a half-written one. A link at the
    // colour file's name is replaced, not written through: what it points to is not ours to change.
    std::string error;
    return WriteFileAtomically(path, text, error, FileMode::Usual);
}

} // namespace corvana
