// The program's own files: what a read takes and refuses, what a write leaves on disk and who
// may read it.

#include "TempDir.h"

#include "files/FileAccess.h"
#include "files/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace corvana;
using namespace corvana::test;

namespace {

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(ReadRegularFile, ReadsAFileOfExactlyTheLimitAndRefusesOneByteMore) {
    TempDir dir;
    WriteText(dir.File("at"), std::string(100, 'x'));
    WriteText(dir.File("over"), std::string(101, 'x'));
    std::string text, error;
    // Each read, then what it left: the text read, or why not.
    EXPECT_EQ((std::tuple{ReadRegularFile(dir.File("at"), 100, text, error), text.size(),
                          ReadRegularFile(dir.File("over"), 100, text, error), error}),
              std::tuple(true, 100u, false, "it is too large (more than 100 bytes)"));
}

// A pipe is read up to the limit and refused past it; a read that fails says why.
TEST(ReadToEnd, ReadsAPipeUpToTheLimitAndRefusesMoreOrAFailedRead) {
    for (const std::size_t written : {0u, 5u, 20000u, 20001u}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const std::string sent(written, 'p');
        std::thread writer([&] {
            EXPECT_EQ(::write(ends[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
            ::close(ends[1]);
        });
        std::string text, error;
        const bool read = ReadToEnd(ends[0], 20000, text, error);
        writer.join();
        ::close(ends[0]);
        EXPECT_EQ(std::pair(read, text.size()), std::pair(written <= 20000, written <= 20000 ? written : 0u));
        EXPECT_EQ(error, read ? "" : "it is too large (more than 20000 bytes)") << written << " bytes";
    }
    const int folder = ::open("/", O_RDONLY | O_DIRECTORY);
    std::string text, error;
    EXPECT_EQ((std::tuple{ReadToEnd(folder, 10, text, error), error}), std::tuple(false, "Is a directory"));
    ::close(folder);
}

// A private file is the user's alone; a usual one gets what any new file gets (0666 less the
// umask), whatever the file it replaces had.
TEST(WriteFileAtomically, GivesTheFileThePermissionsOfItsKind) {
    const mode_t before = ::umask(022);
    for (const auto& [mode, expected] : {std::pair{FileMode::Private, 0600u}, {FileMode::Usual, 0644u}}) {
        TempDir dir;
        WriteText(dir.File("f"), "old");
        ::chmod(dir.File("f").c_str(), 0640);
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(dir.File("f"), "new", error, mode)) << error;
        EXPECT_EQ(static_cast<unsigned>(fs::status(dir.File("f")).permissions()), expected)
            << std::oct << "expected 0" << expected;
    }
    ::umask(before);
}

TEST(WriteFileAtomically, ReplacesALinkAndLeavesWhatItLedTo) {
    TempDir dir;
    WriteText(dir.File("real"), "theirs");
    fs::create_symlink(dir.File("real"), dir.File("f"));
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.File("f"), "mine", error)) << error;
    EXPECT_EQ(fs::symlink_status(dir.File("f")).type(), fs::file_type::regular);
    EXPECT_EQ(std::tuple(ReadText(dir.File("f")), ReadText(dir.File("real"))), std::tuple("mine", "theirs"));
}

// A program started with its standard input closed is given descriptor 0 by the first file it
// opens; that file is read and written like any other.
TEST(WriteFileAtomically, AFileOnDescriptorZeroIsAFileLikeAnyOther) {
    TempDir dir;
    std::string text, error;
    const int kept = ::dup(0);
    ::close(0);
    const bool wrote = WriteFileAtomically(dir.File("f"), "mine", error);
    const bool read = ReadRegularFile(dir.File("f"), 100, text, error);
    const bool leftover = IsLeftover(dir.File("f"), 0);
    ::dup2(kept, 0);
    ::close(kept);
    EXPECT_EQ(std::tuple(wrote, read, text, leftover), std::tuple(true, true, "mine", true)) << error;
}

// A rename that cannot be done (a folder is in the way) costs nothing: what was there stays, the
// fresh file goes, and a file that later takes the fresh file's name is not the writer's to remove.
// The writer can be used again.
TEST(WriteFileAtomically, AFailedWriteLeavesWhatWasThereAndNoTemporaryFile) {
    TempDir dir;
    fs::create_directories(dir.File("f/inside"));
    std::string error, fresh;
    {
        AtomicFileWriter out;
        ASSERT_TRUE(out.Open(dir.File("f"), FileMode::Usual, error)) << error;
        EXPECT_EQ((std::tuple{out.Commit(error), out.ErrorNumber(), EntriesIn(dir.path())}),
                  std::tuple(false, EISDIR, 1u));
        EXPECT_EQ(error.rfind("cannot rename " + dir.path().string() + "/.f.", 0), 0u) << error;
        EXPECT_TRUE(fs::is_directory(dir.File("f/inside")));
        fresh = error.substr(std::string("cannot rename ").size(), dir.path().string().size() + 10);
        WriteText(fresh, "someone else's");
        // Opened again, the writer writes and keeps nothing of the failure before.
        EXPECT_TRUE(out.Open(dir.File("g"), FileMode::Usual, error) && out.Write("g", 1) && out.Commit(error))
            << error;
        EXPECT_EQ(out.ErrorNumber(), 0);
    }
    EXPECT_EQ(ReadText(fresh) + ReadText(dir.File("g")), "someone else'sg");
    const std::size_t open = EntriesIn("/proc/self/fd");
    EXPECT_TRUE(AtomicFileWriter().Open(dir.File("h"), FileMode::Usual, error)) << error;
    EXPECT_EQ(EntriesIn("/proc/self/fd"), open) << "a writer given up closes its file";
}

// The file holds exactly the bytes written, nothing of a longer one before it. Two writers of one
// file at once (two copies of the program) each get a fresh file of their own.
TEST(AtomicFileWriter, WritesPiecesInOrderAndTouchesNothingBeforeCommit) {
    TempDir dir;
    WriteText(dir.File("f"), "old and longer");
    AtomicFileWriter out, other;
    std::string error;
    ASSERT_TRUE(out.Open(dir.File("f"), FileMode::Usual, error)) << error;
    EXPECT_TRUE(out.Write("\r\n", 2) && out.Write("c\0e", 3));
    EXPECT_EQ(ReadText(dir.File("f")), "old and longer");
    EXPECT_TRUE(other.Open(dir.File("f"), FileMode::Usual, error)) << error;
    EXPECT_EQ(EntriesIn(dir.path()), 3u) << "the fresh files are beside it";
    // Named as the tidy-up after a crash expects, and locked while written so that it leaves them.
    for (const auto& e : fs::directory_iterator(dir.path())) {
        EXPECT_TRUE(std::regex_match(e.path().filename().string(), std::regex("f|\\.f\\.\\w{6}"))) << e;
        EXPECT_EQ(IsLeftover(e.path().string(), 0), e.path().filename() == "f") << e;
    }
    EXPECT_FALSE(IsLeftover(dir.path().string(), 0)) << "a folder is no leftover";
    ASSERT_TRUE(out.Commit(error)) << error;
    EXPECT_EQ(std::tuple(ReadText(dir.File("f")), out.ErrorNumber(), EntriesIn(dir.path())),
              std::tuple(std::string("\r\nc\0e", 5), 0, 2u));
}

// A file the user names as output: the link is followed (to its end, relative links from their
// own folder), a new name is fine, and anything but a regular file is refused by its kind.
TEST(OutputFile, FollowsLinksAndRefusesWhatIsNoRegularFile) {
    TempDir dir;
    WriteText(dir.File("real"), "");
    fs::create_directory(dir.File("sub"));
    fs::create_symlink("../real", dir.File("sub/one"));
    fs::create_symlink(dir.File("sub/one"), dir.File("two"));
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_symlink("loop", dir.File("loop"));
    // A chain as long as the system allows (40 links) is followed; one more is refused.
    for (int k = 1; k <= 41; ++k)
        fs::create_symlink(dir.File(k == 1 ? "real" : "chain" + std::to_string(k - 1)),
                           dir.File("chain" + std::to_string(k)));
    // A path, the file to write there, or else why there is none.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {dir.File("real"), dir.File("real"), ""},
        {dir.File("new"), dir.File("new"), ""},
        {dir.File("two"), dir.File("sub/../real"), ""},
        {dir.File("fifo"), "", "it is a FIFO (named pipe), not a regular file"},
        {dir.File("sub"), "", "it is a folder, not a regular file"},
        {"/dev/null", "", "it is a device, not a regular file"},
        {dir.File("loop"), "", "Too many levels of symbolic links"},
        {dir.File("chain40"), dir.File("real"), ""},
        {dir.File("chain41"), "", "Too many levels of symbolic links"},
        {dir.File("real/x"), "", "Not a directory"}};
    for (const auto& [path, target, why] : cases) {
        std::string file, error;
        EXPECT_EQ(OutputFile(path, file, error), why.empty()) << path;
        EXPECT_EQ(why.empty() ? file : error, why.empty() ? target : why) << path;
    }
}

// A setting saved keeps the others of [General], sorted, and drops what no section of ours holds.
TEST(SettingsFile, ASaveWritesTheGeneralSettingsOnly) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    WriteText(path, "[General]\nb=2\n=no key\n[Other]\nc=3\n[General]\na=1\n[x=y]\n");
    std::string error;
    ASSERT_TRUE(WriteSetting(path, "zoom", "175", error)) << error;
    EXPECT_EQ(ReadText(path), "[General]\na=1\nb=2\nzoom=175\n");
    WriteText(path, "[General]\nzoom=150\n" + std::string(16 * 1024 - 19, '#')); // 16 KiB: the most read
    EXPECT_EQ(ReadSettingsFile(path).count("zoom"), 1u);
    WriteText(path, ReadText(path) + "#");
    EXPECT_EQ(ReadSettingsFile(path).count("zoom"), 0u) << "a larger file is not read";
}
