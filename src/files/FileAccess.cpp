#include "files/FileAccess.h"
#include "files/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvana {

namespace {

std::string Reason(int code) {
    return std::strerror(code);
}

// O_EXCL refuses any name that is already there, a symbolic link included, so nothing is ever
// written through a link or into someone else's file.
int CreateBeside(const std::filesystem::path& folder, const std::string& name, mode_t mode,
                 std::string& made) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 pick(seed());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string leaf = "." + name + ".";
        for (int i = 0; i < 6; ++i)
            leaf += kLetters[letter(pick)];
        made = (folder / leaf).string();
        const int fd = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error,
                     Links links) {
    struct stat st {};
    if (links == Links::Follow) {
        // Opening some devices already does something, so what a link leads to is asked first.
        if (::stat(path.c_str(), &st) != 0) {
            error = Reason(errno);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode) ? "it is a folder, not a file" : "it is not a regular file";
            return false;
        }
    }
    // O_NOFOLLOW refuses a link; O_NONBLOCK keeps a pipe from stalling the open, and the type
    // check below refuses it before a read could wait.
    const int follow = links == Links::Follow ? 0 : O_NOFOLLOW;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | follow | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        error = errno == ELOOP && links == Links::Refuse ? "it is a link, not a regular file" : Reason(errno);
        return false;
    }
    if (::fstat(fd.get(), &st) != 0) {
        error = Reason(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "it is a folder, not a file";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "it is not a regular file";
        return false;
    }
    if (static_cast<std::size_t>(st.st_size) > maxBytes) {
        error = "it is too large (more than " + std::to_string(maxBytes) + " bytes)";
        return false;
    }
    // The size may change while reading (a file still being written): ReadToEnd stops one block
    // past the limit, so a growing file is caught as too large instead of read forever.
    return ReadToEnd(fd.get(), maxBytes, text, error);
}

bool ReadToEnd(int fd, std::size_t maxBytes, std::string& text, std::string& error) {
    std::string data;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Reason(errno);
            return false;
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<std::size_t>(n));
        if (data.size() > maxBytes) {
            error = "it is too large (more than " + std::to_string(maxBytes) + " bytes)";
            return false;
        }
    }
    text = std::move(data);
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error, FileMode mode,
                         Folder folder) {
    if (folder == Folder::Make) {
        namespace fs = std::filesystem;
        const fs::path parent = fs::path(path).parent_path();
        std::error_code ec;
        if (!parent.empty())
            fs::create_directories(parent, ec);
        if (ec) {
            error = "cannot create the folder " + parent.string() + ": " + ec.message();
            return false;
        }
    }
    AtomicFileWriter writer;
    return writer.Open(path, mode, error) && writer.Write(text.data(), text.size()) && writer.Commit(error);
}

bool OutputFile(const std::string& path, std::string& file, std::string& error) {
    namespace fs = std::filesystem;
    fs::path at(path);
    // A chain of links is followed to its end; a loop stops at the system's own limit.
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                error = Reason(errno);
                return false;
            }
            break; // a new file
        }
        if (S_ISLNK(st.st_mode)) {
            if (hops >= 40) {
                error = Reason(ELOOP);
                return false;
            }
            std::error_code ec;
            const fs::path to = fs::read_symlink(at, ec);
            if (ec) {
                error = ec.message();
                return false;
            }
            at = to.is_absolute() ? to : at.parent_path() / to;
            continue;
        }
        if (!S_ISREG(st.st_mode)) {
            error = S_ISDIR(st.st_mode)                          ? "it is a folder"
                    : S_ISFIFO(st.st_mode)                       ? "it is a FIFO (named pipe)"
                    : S_ISSOCK(st.st_mode)                       ? "it is a socket"
                    : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "it is a device"
                                                                 : "it is not a regular file";
            error += ", not a regular file";
            return false;
        }
        break;
    }
    file = at.string();
    return true;
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

bool AtomicFileWriter::Open(const std::string& path, FileMode mode, std::string& error) {
    namespace fs = std::filesystem;
    Discard();
    path_ = path;
    failure_ = 0;
    commitFailure_ = 0;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fd_ = CreateBeside(folder, target.filename().string(), mode == FileMode::Private ? 0600 : 0666, temp_);
    if (fd_ < 0) {
        error = "cannot create a file in " + folder.string() + ": " + Reason(errno);
        temp_.clear();
        return false;
    }
    // Held until the file is closed, so another instance tidying up leftovers of crashed writes
    // can tell this one is still being written.
    ::flock(fd_, LOCK_EX);
    return true;
}

bool AtomicFileWriter::Write(const char* data, std::size_t size) {
    if (fd_ < 0 || failure_ != 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that makes no progress is a failure too, so the loop cannot spin.
            failure_ = n == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
    const auto fail = [&](const std::string& what, int code) {
        error = what + ": " + Reason(code);
        commitFailure_ = code;
        Discard();
        return false;
    };
    if (fd_ < 0)
        return fail("cannot write " + path_, EBADF);
    if (failure_ != 0)
        return fail("cannot write " + temp_, failure_);
    if (::fsync(fd_) != 0)
        return fail("cannot flush " + temp_, errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        return fail("cannot close " + temp_, errno);
    if (::rename(temp_.c_str(), path_.c_str()) != 0)
        return fail("cannot rename " + temp_ + " to " + path_, errno);
    temp_.clear();
    // The rename reaches the disk only with the folder. The new file is in place either way, so a
    // folder that cannot be flushed (one the user may write but not read) is no failure to report.
    namespace fs = std::filesystem;
    const fs::path target(path_);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return true;
}

int MoveAside(const std::string& path, std::string& made) {
    for (int k = 0; k < 1000; ++k) {
        made = path + ".bad" + (k == 0 ? std::string() : "." + std::to_string(k));
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, made.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return errno;
        // A file system without the flag: look first, at the price of a race nobody runs.
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(made, ec)))
            continue;
        return ::rename(path.c_str(), made.c_str()) == 0 ? 0 : errno;
    }
    return EEXIST;
}

std::string UserFilePath(const std::string& xdgHome, const std::string& home, const std::string& homeFallback,
                         const std::string& fileName) {
    namespace fs = std::filesystem;
    fs::path base;
    if (!xdgHome.empty() && fs::path(xdgHome).is_absolute())
        base = fs::path(xdgHome);
    else if (!home.empty())
        base = fs::path(home) / homeFallback;
    else
        return {};
    return (base / "corvana" / fileName).string();
}

bool IsLeftover(const std::string& path, long minAgeSeconds) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (::time(nullptr) - st.st_mtime < minAgeSeconds)
        return false;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    ::flock(fd.get(), LOCK_UN);
    return true;
}

} // namespace corvana
