#pragma once

// The program's command line. Qt-free.
//   corvana                                   the main window
//   corvana FILE.json                         a puzzle saved in corvana-gen's JSON form
//   corvana --template NAME [--seed N] [--reduced] [--no-first]
//                                             that puzzle, as corvana-gen makes it

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

// What to open once the main window is up.
struct StartRequest {
    enum class Kind { MainWindowOnly, Template, File };
    Kind kind = Kind::MainWindowOnly;
    std::string templateName;
    std::optional<std::uint64_t> seed;
    bool reduced = false;
    bool noFirst = false;
    std::string file;
};

struct CommandLine {
    StartRequest request;
    // When set, the program prints `out` and `err` and ends with this status without opening a
    // window (--help, or a command line it cannot use).
    std::optional<int> exitStatus;
    std::string out;
    std::string err;
};

// `args` are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

} // namespace corvana
