#pragma once

// The settings file: a few "key=value" lines under "[General]", the INI form QSettings uses, so
// a file QSettings wrote reads here and the other way round. Read and written like the
// program's other files.

#include <map>
#include <string>

namespace corvana {

using Settings = std::map<std::string, std::string>;

// The settings kept at `path`. Only a regular file (or a link to one) of a few kilobytes is
// read, without waiting; anything else (missing, a FIFO, a device, a folder) gives none, so
// every setting takes its default.
Settings ReadSettingsFile(const std::string& path);

// Sets `key` to `value` in the file, keeping its other settings; the folder is made when
// missing. The file is replaced whole (WriteFileAtomically): never written through a link or
// into anything but a regular file. False with the reason in `error`.
bool WriteSetting(const std::string& path, const std::string& key, const std::string& value,
                  std::string& error);

} // namespace corvana
