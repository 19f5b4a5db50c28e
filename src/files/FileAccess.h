#pragma once

// Reading and writing the program's own small files so that bad input and failures never cost
// the user anything: reads take only regular files of bounded size (no links, pipes, devices or
// endless files), and a write replaces the old file in one step or leaves it as it was.

#include <cstddef>
#include <string>

namespace corvana {

// Whether a symbolic link at the path is refused or followed to a regular file.
enum class Links { Refuse, Follow };

// Reads the whole file at `path` into `text`. Refuses, with a reason in `error`, a path that
// is missing, a symbolic link (unless followed), anything but a regular file, or a file of more
// than `maxBytes`. Never blocks on a pipe, and never opens a device.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error,
                     Links links = Links::Refuse);

// Who may read a file the program writes: the kept game is the user's alone; the colour file
// gets what any new file of the user's gets (0666 less the umask), as it always had.
enum class FileMode { Private, Usual };

// Replaces the file at `path` with `text`: written to a fresh file beside it whose name nobody
// chose before ("." + name + "." + six letters), flushed to the disk, renamed over the old one
// and the folder flushed, so that a crash or power cut at any moment leaves either the old file
// or the new one. A link at `path` is replaced, never written through. Every step is checked; on
// failure the old file is untouched, the new one removed and `error` says what went wrong.
// The fresh file is locked (flock) while it is written, for IsLeftover below.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error,
                         FileMode mode = FileMode::Private);

// The file to write when the user names `path` as an output: the path itself, or the file a
// link there leads to (a link is followed, as a user who names it expects). False, with the
// reason in `error`, when something other than a regular file is there - a device, a FIFO, a
// socket, a folder - since replacing it would break whatever relies on it.
bool OutputFile(const std::string& path, std::string& file, std::string& error);

// WriteFileAtomically for output made piece by piece: Open makes the fresh file beside `path`,
// Write appends to it, Commit flushes it and renames it over `path`. Until Commit succeeds,
// `path` is untouched; a writer dropped before that removes its fresh file.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Open(const std::string& path, FileMode mode, std::string& error);
    // False once any write has failed; the first failure is what Commit reports.
    bool Write(const char* data, std::size_t size);
    bool Commit(std::string& error);
    // The errno of the first failed write, or 0.
    int WriteError() const { return failure_; }

private:
    void Discard();

    std::string path_;
    std::string temp_;
    int fd_ = -1;
    int failure_ = 0; // errno of the first failed write
};

// True when `path` is a regular file left by a write cut short (a kill, a power cut): not
// written for `minAgeSeconds` and not locked by a write still going on in any process.
bool IsLeftover(const std::string& path, long minAgeSeconds = 60);

} // namespace corvana
