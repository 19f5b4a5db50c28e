#include "files/SettingsFile.h"

#include "files/FileAccess.h"

#include <sstream>

#include <sys/stat.h>

namespace corvana {

namespace {

constexpr std::size_t kMaxSettingsBytes = 16 * 1024;

} // namespace

Settings ReadSettingsFile(const std::string& path) {
    std::string text;
    std::string error;
    Settings settings;
    if (!ReadRegularFile(path, kMaxSettingsBytes, text, error, Links::Follow))
        return settings;
    std::istringstream in(text);
    std::string line;
    bool general = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            general = line == "[General]";
            continue;
        }
        const auto equals = line.find('=');
        if (general && equals != std::string::npos && equals > 0)
            settings[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return settings;
}

bool WriteSetting(const std::string& path, const std::string& key, const std::string& value,
                  std::string& error) {
    // A link is replaced by a regular file; anything else but a regular file is left alone.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
        error = path + " is not a regular file";
        return false;
    }
    Settings settings = ReadSettingsFile(path);
    settings[key] = value;
    std::string text = "[General]\n";
    for (const auto& [name, setting] : settings)
        text += name + "=" + setting + "\n";
    return WriteFileAtomically(path, text, error, FileMode::Usual, Folder::Make);
}

} // namespace corvana
