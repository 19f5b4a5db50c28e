#include "GenCli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return corvana::RunGenerator(args, std::cout, std::cerr);
}
