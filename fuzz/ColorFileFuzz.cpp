// Feeds arbitrary bytes to the colour file reader. Whatever the file holds, reading it must end
// in "colours read" or "failed" without a crash, a sanitizer report or a hang; and colours it
// reads must come back unchanged through a save and a second read.

#include "colors/ColorScheme.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>
#include <unistd.h>

namespace {

std::string g_folder;

void RemoveFolder() {
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
}

const std::string& Folder() {
    if (g_folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvana-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        g_folder = pattern;
        std::atexit(RemoveFolder);
    }
    return g_folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = Folder() + "/" + corvana::kColorFileName;
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) {
            std::perror("writing the input file");
            std::abort();
        }
    }

    corvana::ColorScheme scheme;
    corvana::SetDefaultColors(scheme);
    const bool read = corvana::LoadColorFile(scheme, input);
    if (!read) {
        // A failed read must not keep the file: the program deletes it next.
        if (!corvana::DeleteColorFile(input))
            std::abort();
        return 0;
    }

    const std::string copy = Folder() + "/copy.txt";
    if (!corvana::SaveColorFile(scheme, copy))
        std::abort();
    corvana::ColorScheme again;
    if (!corvana::LoadColorFile(again, copy) || again != scheme)
        std::abort();
    return 0;
}
