#include "colors/ColorFileLocation.h"

#include "colors/ColorScheme.h"

#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace corvana {

namespace fs = std::filesystem;

bool FolderIsWritable(const std::string& dir) {
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec))
        return false;
    // The system is asked rather than a trial file made: it knows about read-only mounts and
    // access lists as well as the permission bits, and a trial file of a fixed name would be
    // created and removed at every start, through whatever link someone had put in its place.
    return ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool IsSystemProgramFolder(const std::string& dir) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(dir, ec);
    for (const char* system :
         {"/bin", "/usr/bin", "/usr/local/bin", "/usr/games", "/usr/local/games", "/usr/sbin"})
        if (canonical == fs::path(system))
            return true;
    return false;
}

std::string ColorFileLocation::Path() const {
    // An installed program never writes into the system's program folders, not even as root.
    if (!IsSystemProgramFolder(programDir) && FolderIsWritable(programDir))
        return (fs::path(programDir) / kColorFileName).string();
    fs::path config;
    if (!xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute())
        config = fs::path(xdgConfigHome);
    else if (!home.empty())
        config = fs::path(home) / ".config";
    else
        return (fs::path(programDir) / kColorFileName).string();
    std::error_code ec;
    fs::create_directories(config / "corvana", ec);
    return (config / "corvana" / kColorFileName).string();
}

} // namespace corvana
