#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvana {

// corvana-gen: prints a generated puzzle as text or JSON. Returns the exit status:
// 0 done, 1 the build failed, 2 bad command line (one line on `err`, nothing on `out`).
int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvana
