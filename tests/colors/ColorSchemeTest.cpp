#include "colors/ColorScheme.h"
#include "colors/ColorFileLocation.h"

#include "DefaultColors.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>

using namespace corvana;
using namespace corvana::test;

namespace {

// A scheme in which every slot differs from the defaults and from what the tests write.
const ColorScheme kMarked{{-101, -102, -103}, {-104, -105, -106}, {-107, -108, -109}, {-110, -111, -112}};

std::vector<ColorValue> InFileOrder(const ColorScheme& s) {
    std::vector<ColorValue> v;
    for (const auto* a : {&s.BackgroundColor, &s.PrimaryColor, &s.SecondaryColor, &s.CheckedColor})
        v.insert(v.end(), a->begin(), a->end());
    return v;
}

std::string Lines(const std::vector<std::string>& values) {
    std::string text;
    for (const auto& v : values)
        text += v + "\r\n";
    return text;
}

// Whether the file at `path` loads over the scheme `over`, and the scheme after.
std::pair<bool, ColorScheme> Loaded(const std::string& path, ColorScheme over = kMarked) {
    return {LoadColorFile(over, path), over}; // a braced list runs in order: loaded, then copied
}

// The twelve values 1 to 12, with the one at `at`, if any, replaced by `value`.
std::string TwelveWith(int at = 0, const std::string& value = "") {
    std::vector<std::string> values;
    for (int i = 1; i <= 12; ++i)
        values.push_back(i == at ? value : std::to_string(i));
    return Lines(values);
}

// A folder for the colour file, and the file's path in it.
struct ColorFile : testing::Test {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
};

} // namespace

// How the file is replaced (whole, never through a link, never half) is the atomic write's own
// business; here: the bytes, reading them back, and a failure reported.
TEST_F(ColorFile, SaveWritesTheDefaultsByteForByteLoadGivesThemBackAndAFailedSaveSaysSo) {
    ASSERT_TRUE(SaveColorFile(Defaults(), path));
    EXPECT_EQ(std::pair(ReadText(path), Loaded(path)), std::pair(kDefaultFile, std::pair(true, Defaults())));

    // The extremes of 32 bits survive.
    const ColorScheme s{
        {-101, -102, -103}, {INT32_MAX, -105, -106}, {-107, -108, -109}, {-110, -111, INT32_MIN}};
    ASSERT_TRUE(SaveColorFile(s, path));
    EXPECT_EQ(ReadText(path), Lines({"-101", "-102", "-103", "2147483647", "-105", "-106", "-107", "-108",
                                     "-109", "-110", "-111", "-2147483648"}));
    EXPECT_EQ(Loaded(path, Defaults()), std::pair(true, s));

    EXPECT_FALSE(SaveColorFile(Defaults(), dir.File("missing/" + std::string(kColorFileName))));
}

TEST_F(ColorFile, ReadsFieldsAsGivenAndAlwaysClosesTheFile) {
    // What a kMarked scheme holds, in file order, after the first values were read.
    const auto readFirst = [kept = InFileOrder(kMarked)](std::vector<ColorValue> values) {
        values.insert(values.end(), kept.begin() + static_cast<long>(values.size()), kept.end());
        return values;
    };
    const auto elevenRead = readFirst({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const std::vector<ColorValue> twelveRead{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    // The file's text, whether it loads, and the scheme after (in file order, over a kMarked scheme).
    const std::tuple<std::string, bool, std::vector<ColorValue>> cases[] = {
        // Eleven values fail but keep what was read; empty lines are no values.
        {Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "", "  "}), false, elevenRead},
        // The leading number of each field, rounded half to even (a half is 5 as the first decimal,
        // zeros after it, 2.500001 is more); a field without one is 0.
        {Lines({"12.6", "-5", "+7", " 42abc", "abc", "12.50", "15.5", "-12.6", "0.49", "-.5", "3.05",
                "2.500001 8"}),
         true, readFirst({13, -5, 7, 42, 0, 12, 16, -13, 0, 0, 3, 3})},
        // Commas and any line end end a field.
        {"1,2,3\r\n4,5,6\n7\r8,9,10,11,12", true, twelveRead},
        // Whatever follows the twelfth value is ignored, however long.
        {TwelveWith() + "junk\r\n99999999999999999999\r\n" + std::string(3, '\0') + std::string(9000, 'x'),
         true, twelveRead},
        // Only the first 4 KiB are read, and a twelfth value cut by them is none; one that ends the
        // file right there is whole.
        {std::string(4096, '\n') + TwelveWith(), false, readFirst({})},
        {TwelveWith(12, std::string(4060, ' ') + "12"), false, elevenRead},
        {TwelveWith(12, "").erase(35) + std::string(4059, ' ') + "12", true, twelveRead},
        // Garbage without a line end is one field.
        {"\x01\x02\xff\xfe garbage without a line end \x7f", false, readFirst({0})},
        // Beyond 32 bits, before or after rounding, and far beyond.
        {TwelveWith(3, "2147483648"), false, readFirst({1, 2})},
        {TwelveWith(3, "-2147483649"), false, readFirst({1, 2})},
        {TwelveWith(3, "2147483647.5"), false, readFirst({1, 2})},
        {TwelveWith(3, "99999999999999999999999999999"), false, readFirst({1, 2})},
        {Lines({"2147483647", "-2147483648", "2147483646.5", "4", "5", "6", "7", "8", "9", "10", "11", "12"}),
         true, readFirst({2147483647, -2147483647 - 1, 2147483646, 4, 5, 6, 7, 8, 9, 10, 11, 12})}};
    for (const auto& [content, ok, expected] : cases) {
        WriteText(path, content);
        const auto openBefore = std::distance(fs::directory_iterator("/proc/self/fd"), {});
        const auto [loads, s] = Loaded(path);
        EXPECT_EQ(std::distance(fs::directory_iterator("/proc/self/fd"), {}), openBefore) << "file left open";
        EXPECT_EQ(std::pair(loads, InFileOrder(s)), std::pair(ok, expected));
    }
}

// What someone else may have put in the folder: reading never waits or runs on, a folder is not
// deleted, and the start-up's write check writes through no link and touches no other file.
TEST_F(ColorFile, HostileFilesNeitherBlockNorGetWrittenThroughAndAFolderIsNotDeleted) {
    const std::string victim = dir.File("victim");
    WriteText(victim, kDefaultFile);

    // A FIFO with no writer blocks an ordinary open for ever; /dev/zero never ends. Both are
    // damaged files that the caller can delete; a folder is not removed as if it were the colour
    // file; a missing file (also under a file, not a folder) reads as success and changes nothing.
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir.File("zero"));
    fs::create_directory(dir.File("folder"));
    for (const auto& [name, loads, deleted] : {std::tuple{"fifo", false, true},
                                               {"zero", false, true},
                                               {"folder", false, false},
                                               {"missing", true, true},
                                               {"victim/in", true, true}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Loaded(dir.File(name)), std::pair(loads, kMarked));
        EXPECT_EQ(DeleteColorFile(dir.File(name)), deleted);
        EXPECT_EQ(fs::exists(dir.File(name)), !deleted);
    }

    // A link to a regular file is read.
    fs::create_symlink(victim, path);
    EXPECT_EQ(Loaded(path), std::pair(true, Defaults()));

    // Deciding where the colour file goes creates, removes and follows nothing.
    fs::create_symlink(victim, dir.File(".corvana-write-probe"));
    const auto entries = [this] { return std::distance(fs::directory_iterator(dir.path()), {}); };
    const auto before = entries();
    EXPECT_TRUE(FolderIsWritable(dir.path().string()));
    EXPECT_EQ((ColorFileLocation{dir.path().string(), "", ""}.Path()), path);
    EXPECT_EQ(entries(), before) << "the link stays and nothing is left beside it";
    EXPECT_EQ(ReadText(victim), kDefaultFile);
}

TEST(ColorFileLocation, AWritableProgramFolderKeepsTheFileOtherwiseTheUserConfigurationDoes) {
    TempDir dir;
    const std::string root = dir.path().string(), program = root + "/program";
    WriteText(program, "x"); // a "folder" that is a regular file can be written by nobody, root included,
    fs::permissions(program, fs::perms::owner_all); // even with its execute bits set
    const std::string cases[][4] = {
        // program folder, XDG_CONFIG_HOME, HOME: where the file is
        {root, "/somewhere/else", "/home/nobody", root + "/QUAVColors.txt"},
        {program, root + "/xdg", root + "/home", root + "/xdg/corvana/QUAVColors.txt"},
        {program, "relative/ignored", root + "/home", root + "/home/.config/corvana/QUAVColors.txt"},
        // With nowhere else to go the program folder is kept; an installed program keeps its
        // colours with the user even as root.
        {"/nonexistent/corvana", "", "", "/nonexistent/corvana/QUAVColors.txt"},
        {"/usr/bin", root + "/xdg2", "", root + "/xdg2/corvana/QUAVColors.txt"}};
    for (const auto& c : cases)
        EXPECT_EQ((ColorFileLocation{c[0], c[1], c[2]}.Path()), c[3]) << c[0];
    EXPECT_TRUE(fs::is_directory(root + "/xdg/corvana")) << "the folder is made so a save can succeed";
    EXPECT_FALSE(FolderIsWritable("/nonexistent/corvana"));
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin") && IsSystemProgramFolder("/usr/bin/"));
    EXPECT_FALSE(IsSystemProgramFolder(root));
}
