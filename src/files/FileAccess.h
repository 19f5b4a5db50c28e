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

// Reads from the open `fd` to its end into `text`: for standard input, which may be a pipe or a
// terminal and so is waited on. More than `maxBytes` is refused (reading stops there), with the
// reason in `error` as ReadRegularFile gives it.
bool ReadToEnd(int fd, std::size_t maxBytes, std::string& text, std::string& error);

// Who may read a file the program writes: the kept game is the user's alone; the colour file
// gets what any new file of the user's gets (0666 less the umask): it holds nothing private,
// so the user's umask decides.
enum class FileMode { Private, Usual };

// Replaces the file at `path` with `text`: written to a fresh file beside it whose name nobody
// chose before ("." + name + "." + six letters), flushed to the disk, renamed over the old one
// and the folder flushed, so that a crash or power cut at any moment leaves either the old file
// or the new one. A link at `path` is replaced, never written through. Every step is checked; on
// failure the old file is untouched, the new one removed and `error` says what went wrong.
// The fresh file is locked (flock) while it is written, for IsLeftover below.
// With Folder::Make the folders on the way to `path` are made first where missing.
enum class Folder { MustExist, Make };
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error,
                         FileMode mode = FileMode::Private, Folder folder = Folder::MustExist);

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
    // The errno of the first step that failed: a write, or Commit's flush, close or rename; or 0.
    int ErrorNumber() const { return failure_ != 0 ? failure_ : commitFailure_; }

private:
    void Discard();

    std::string path_;
    std::string temp_;
    int fd_ = -1;
    int failure_ = 0;       // errno of the first failed write
    int commitFailure_ = 0; // errno of a failed step of Commit
};

// Renames the damaged file at `path` out of the way, to the first of path.bad, path.bad.1,
// path.bad.2, ... that is not there, never over an earlier one (the user may want them all).
// Returns 0 with the new name in `made`, or the errno of the failure.
int MoveAside(const std::string& path, std::string& made);

// Where the program keeps a file of the user's under an XDG base folder:
// `xdgHome`/corvana/`fileName`, or `home`/`homeFallback`/corvana/`fileName` when `xdgHome` is
// unset, empty or not an absolute path (as the XDG rules say). Empty when neither gives a place.
std::string UserFilePath(const std::string& xdgHome, const std::string& home, const std::string& homeFallback,
                         const std::string& fileName);

// True when `path` is a regular file left by a write cut short (a kill, a power cut): not
// written for `minAgeSeconds` and not locked by a write still going on in any process.
bool IsLeftover(const std::string& path, long minAgeSeconds = 60);

} // namespace corvana
