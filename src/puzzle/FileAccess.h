#pragma once

// Reading and writing the program's own small files so that bad input and failures never cost
// the user anything: reads take only regular files of bounded size (no links, pipes, devices or
// endless files), and a write replaces the old file in one step or leaves it as it was.

#include <cstddef>
#include <string>

namespace corvana {

// Reads the whole file at `path` into `text`. Refuses, with a reason in `error`, a path that
// is missing, a symbolic link, anything but a regular file, or a file of more than `maxBytes`.
// Never blocks on a pipe.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error);

// Replaces the file at `path` with `text`: written to a fresh uniquely named file beside it,
// flushed to the disk, renamed over the old one and the folder flushed, so that a crash or
// power cut at any moment leaves either the old file or the new one. Every step is checked; on
// failure the old file is untouched, the temporary one removed and `error` says what went wrong.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

} // namespace corvana
