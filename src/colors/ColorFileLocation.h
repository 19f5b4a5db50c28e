#pragma once

#include <string>

namespace corvana {

// Where the colour file lives: in the program's folder, beside the executable. An
// installed program (in a system program folder, or in one the user cannot write) keeps it in
// the per-user configuration folder instead ($XDG_CONFIG_HOME/corvana, else ~/.config/corvana),
// same name and format, so that saving colours works for every user. The chosen folder is
// created when it is missing.
struct ColorFileLocation {
    std::string programDir;
    std::string xdgConfigHome; // empty when unset
    std::string home;          // empty when unset

    std::string Path() const;
};

// True when a file can be created in `dir`. Nothing is created or removed to find out.
bool FolderIsWritable(const std::string& dir);
// True for the folders a package installs programs into (/usr/bin and the like).
bool IsSystemProgramFolder(const std::string& dir);

} // namespace corvana
