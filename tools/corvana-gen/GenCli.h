#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvana {

// corvana-gen: prints generated puzzles as text, JSON or ipuz, writes puzzle books and solves
// puzzle files. Returns the exit status: 0 done, 1 a build or a write failed, 2 bad input (one
// line on `err`, nothing on `out`). A progress bar goes to `err` only when it is a terminal.
int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 bool errIsTerminal = false);

} // namespace corvana
