#pragma once

#include <gmock/gmock.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <stdlib.h>

namespace corvana::test {

namespace fs = std::filesystem;

using ::testing::HasSubstr; // fails showing the whole text and the part it lacks

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "corvana-colors-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a shell command writes to standard output; its exit status in `status` when asked.
inline std::string Shell(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    char chunk[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        out.append(chunk, n);
    const int code = pipe != nullptr ? ::pclose(pipe) : -1;
    if (status != nullptr)
        *status = code;
    return out;
}

} // namespace corvana::test
