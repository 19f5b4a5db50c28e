#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvana {

// What standard output and standard error are connected to.
struct Terminals {
    bool err = false;      // standard error is a terminal
    bool out = false;      // standard output is a terminal
    bool outIsErr = false; // both are the same terminal
};

// corvana-gen: prints generated puzzles as text, JSON or ipuz, writes puzzle books and solves
// puzzle files. Returns the exit status: 0 done, 1 a build or a write failed, 2 bad input or an
// output that cannot be written to (one line on `err`, nothing on `out`), or --grade found no
// puzzle of its grade in 1000 seeds in a row (one line on `err`; the puzzles found before it are
// on `out`, a book is not written). A long run shows its progress on `err` when that is a
// terminal and `out` does not print onto the same terminal.
// `--pdf -` writes the book to `out`.
int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 Terminals terminals = {});

} // namespace corvana
