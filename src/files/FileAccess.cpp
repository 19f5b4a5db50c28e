#include "files/FileAccess.h"
#include "files/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvana {

namespace {

std::string Reason(int code) {
    return std::strerror(code);
}

// A write that makes no progress is a failure too (EIO stands in for the missing errno), so
// the loop cannot spin.
bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
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

bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error) {
    // O_NOFOLLOW refuses a link; O_NONBLOCK keeps a pipe from stalling the open, and the type
    // check below refuses it before a read could wait.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        error = errno == ELOOP ? "it is a link, not a regular file" : Reason(errno);
        return false;
    }
    struct stat st {};
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
    // The size may change while reading (a file still being written): read at most one byte
    // past the limit, so a growing file is caught as too large instead of read forever.
    std::string data;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
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

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error,
                         FileMode mode) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp;
    FileDescriptor fd(
        CreateBeside(folder, target.filename().string(), mode == FileMode::Private ? 0600 : 0666, temp));
    if (fd.get() < 0) {
        error = "cannot create a file in " + folder.string() + ": " + Reason(errno);
        return false;
    }
    const auto fail = [&](const std::string& what) {
        error = what + ": " + Reason(errno);
        ::unlink(temp.c_str());
        return false;
    };
    if (!WriteAll(fd.get(), text))
        return fail("cannot write " + temp);
    if (::fsync(fd.get()) != 0)
        return fail("cannot flush " + temp);
    if (!fd.Close())
        return fail("cannot close " + temp);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail("cannot rename " + temp + " to " + path);
    // The rename reaches the disk only with the folder. The new file is in place either way, so a
    // folder that cannot be flushed (one the user may write but not read) is no failure to report.
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return true;
}

} // namespace corvana
