#include "GenCli.h"

#include <iostream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

corvana::Terminals Connected() {
    corvana::Terminals t;
    t.err = isatty(STDERR_FILENO) == 1;
    t.out = isatty(STDOUT_FILENO) == 1;
    struct stat out {
    }, err{};
    t.outIsErr = t.out && t.err && fstat(STDOUT_FILENO, &out) == 0 && fstat(STDERR_FILENO, &err) == 0 &&
                 out.st_rdev == err.st_rdev;
    return t;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return corvana::RunGenerator(args, std::cout, std::cerr, Connected());
}
