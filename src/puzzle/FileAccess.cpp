#include "puzzle/FileAccess.h"
#include "seam/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvana {

namespace {

std::string Reason(int code) {
    return std::strerror(code);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
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

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        error = "cannot create a file in " + folder.string() + ": " + Reason(errno);
        return false;
    }
    const auto fail = [&](const std::string& what) {
        error = what + ": " + Reason(errno);
        ::unlink(temp.c_str());
        return false;
    };
    // mkstemp makes the file private (0600), which suits a file of the user's own.
    if (!WriteAll(fd.get(), text))
        return fail("cannot write " + temp);
    if (::fsync(fd.get()) != 0)
        return fail("cannot flush " + temp);
    if (!fd.Close())
        return fail("cannot close " + temp);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        return fail("cannot rename " + temp + " to " + path);
    // The rename itself reaches the disk only with the folder.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || ::fsync(dir.get()) != 0) {
        error = "cannot flush the folder " + folder.string() + ": " + Reason(errno);
        return false;
    }
    return true;
}

} // namespace corvana
