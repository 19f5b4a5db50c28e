#include "colors/ColorScheme.h"
#include "puzzle/Templates.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace corvana;
using corvana::test::ReadText;
using corvana::test::TempDir;
using corvana::test::WriteText;

namespace {

const std::string kDefaultFile = "16384\r\n4194304\r\n4194368\r\n16777215\r\n16777215\r\n8454143\r\n"
                                 "65535\r\n16776960\r\n16744703\r\n8421504\r\n8421504\r\n8421504\r\n";

ColorScheme Defaults() {
    ColorScheme s;
    SetDefaultColors(s);
    return s;
}

// A scheme in which every slot differs from the defaults and from what the tests write.
ColorScheme Marked() {
    ColorScheme s;
    s.BackgroundColor = {-101, -102, -103};
    s.PrimaryColor = {-104, -105, -106};
    s.SecondaryColor = {-107, -108, -109};
    s.CheckedColor = {-110, -111, -112};
    return s;
}

std::vector<ColorValue> InFileOrder(const ColorScheme& s) {
    std::vector<ColorValue> v;
    for (const auto* a : {&s.BackgroundColor, &s.PrimaryColor, &s.SecondaryColor, &s.CheckedColor})
        v.insert(v.end(), a->begin(), a->end());
    return v;
}

std::string Lines(const std::vector<std::string>& values, const char* eol = "\r\n") {
    std::string text;
    for (const auto& v : values)
        text += v + eol;
    return text;
}

std::size_t OpenFileCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

} // namespace

TEST(ColorDefaults, AreTheDocumentedColours) {
    const ColorScheme s = Defaults();
    EXPECT_EQ(s.BackgroundColor, (std::array<ColorValue, 3>{0x004000, 0x400000, 0x400040}));
    EXPECT_EQ(s.PrimaryColor, (std::array<ColorValue, 3>{0xFFFFFF, 0xFFFFFF, 0x80FFFF}));
    EXPECT_EQ(s.SecondaryColor, (std::array<ColorValue, 3>{0x00FFFF, 0xFFFF00, 0xFF80FF}));
    EXPECT_EQ(s.CheckedColor, (std::array<ColorValue, 3>{0x808080, 0x808080, 0x808080}));
}

TEST(ColorFile, DefaultsRoundTripByteForByte) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    ASSERT_TRUE(SaveColorFile(Defaults(), path));
    EXPECT_EQ(ReadText(path), kDefaultFile);

    ColorScheme loaded = Marked();
    EXPECT_TRUE(LoadColorFile(loaded, path));
    EXPECT_EQ(loaded, Defaults());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << "no temporary file is left behind";
}

TEST(ColorFile, SaveReplacesAnOlderFileAndKeepsNegativeValues) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    WriteText(path, std::string(5000, 'x'));
    ColorScheme s = Marked();
    s.CheckedColor[2] = -2147483647 - 1;
    s.PrimaryColor[0] = 2147483647;
    ASSERT_TRUE(SaveColorFile(s, path));
    EXPECT_EQ(ReadText(path), Lines({"-101", "-102", "-103", "2147483647", "-105", "-106", "-107", "-108",
                                     "-109", "-110", "-111", "-2147483648"}));
    ColorScheme loaded = Defaults();
    EXPECT_TRUE(LoadColorFile(loaded, path));
    EXPECT_EQ(loaded, s);
}

TEST(ColorFile, MissingFileReadsAsSuccessAndChangesNothing) {
    TempDir dir;
    ColorScheme s = Marked();
    EXPECT_TRUE(LoadColorFile(s, dir.File(kColorFileName)));
    EXPECT_EQ(s, Marked());
}

TEST(ColorFile, ElevenValuesFailButKeepWhatWasRead) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    WriteText(path, Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
    ColorScheme s = Marked();
    const std::size_t openBefore = OpenFileCount();
    EXPECT_FALSE(LoadColorFile(s, path));
    EXPECT_EQ(OpenFileCount(), openBefore) << "the file is closed after a failed read";
    const std::vector<ColorValue> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -112};
    EXPECT_EQ(InFileOrder(s), expected);

    // Empty lines are not values.
    WriteText(path, Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "", "  "}));
    EXPECT_FALSE(LoadColorFile(s, path));
    WriteText(path, "");
    EXPECT_FALSE(LoadColorFile(s, path));
}

TEST(ColorFile, ReadsTheLeadingNumberOfEachField) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    WriteText(path, Lines({"12.6", "-5", "+7", " 42abc", "abc", "12.5", "13.5", "-12.6", "0.49", "-.5",
                           "1.500001", "7 8"}));
    ColorScheme s = Marked();
    EXPECT_TRUE(LoadColorFile(s, path));
    const std::vector<ColorValue> expected = {13, -5, 7, 42, 0, 12, 14, -13, 0, 0, 2, 7};
    EXPECT_EQ(InFileOrder(s), expected);
}

TEST(ColorFile, FieldsEndAtCommasAndAnyLineEnd) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    ColorScheme s = Marked();

    WriteText(path, "1,2,3\r\n4,5,6\n7\r8,9,10,11,12");
    EXPECT_TRUE(LoadColorFile(s, path)) << "the last value needs no line end";
    std::vector<ColorValue> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(InFileOrder(s), expected);

    WriteText(path, Lines({"21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32", "junk",
                           "99999999999999999999"}) +
                        std::string(3, '\0'));
    EXPECT_TRUE(LoadColorFile(s, path)) << "whatever follows the twelfth value is ignored";
    expected = {21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
    EXPECT_EQ(InFileOrder(s), expected);
}

TEST(ColorFile, GarbageReadsAsZeroOrFailsWhenShort) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    ColorScheme s = Marked();
    WriteText(path, Lines(std::vector<std::string>(12, "#ff00ff")));
    EXPECT_TRUE(LoadColorFile(s, path));
    EXPECT_EQ(InFileOrder(s), std::vector<ColorValue>(12, 0));

    s = Marked();
    WriteText(path, std::string("\x01\x02\xff\xfe garbage without a line end \x7f"));
    EXPECT_FALSE(LoadColorFile(s, path));
    EXPECT_EQ(s.BackgroundColor[0], 0) << "the one field there was is read";
    EXPECT_EQ(s.BackgroundColor[1], -102);
}

TEST(ColorFile, ValuesBeyondThirtyTwoBitsFail) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    const std::vector<std::string> tooBig = {"4294967295", "2147483648", "-2147483649", "2147483647.5",
                                             "99999999999999999999999999999"};
    for (const auto& value : tooBig) {
        SCOPED_TRACE(value);
        WriteText(path, Lines({"1", "2", value, "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
        ColorScheme s = Marked();
        const std::size_t openBefore = OpenFileCount();
        EXPECT_FALSE(LoadColorFile(s, path));
        EXPECT_EQ(OpenFileCount(), openBefore) << "the file is closed after a failed read";
        EXPECT_EQ(s.BackgroundColor, (std::array<ColorValue, 3>{1, 2, -103}));
        EXPECT_EQ(s.PrimaryColor, Marked().PrimaryColor);
        EXPECT_TRUE(DeleteColorFile(path)) << "the caller can delete the unreadable file";
    }

    WriteText(path, Lines({"2147483647", "-2147483648", "2147483646.5", "3", "4", "5", "6", "7", "8", "9",
                           "10", "11"}));
    ColorScheme s = Marked();
    EXPECT_TRUE(LoadColorFile(s, path));
    EXPECT_EQ(s.BackgroundColor, (std::array<ColorValue, 3>{2147483647, -2147483647 - 1, 2147483646}));
}

TEST(ColorFile, AFolderInPlaceOfTheFileFailsToLoad) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    std::filesystem::create_directory(path);
    ColorScheme s = Marked();
    EXPECT_FALSE(LoadColorFile(s, path));
    EXPECT_EQ(s, Marked());
    EXPECT_FALSE(DeleteColorFile(path)) << "a folder is not removed as if it were the colour file";
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(ColorFile, DeleteRemovesTheFileAndAcceptsAMissingOne) {
    TempDir dir;
    const std::string path = dir.File(kColorFileName);
    EXPECT_TRUE(DeleteColorFile(path));
    WriteText(path, kDefaultFile);
    EXPECT_TRUE(DeleteColorFile(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(DeleteColorFile(path));
}

TEST(ColorFile, FailedSaveReportsFalseAndLeavesTheOldFile) {
    TempDir dir;

    // No such folder.
    EXPECT_FALSE(SaveColorFile(Defaults(), dir.File("missing/" + std::string(kColorFileName))));
    // The "folder" is a regular file.
    WriteText(dir.File("plain"), "x");
    EXPECT_FALSE(SaveColorFile(Defaults(), dir.File("plain/" + std::string(kColorFileName))));
    EXPECT_EQ(ReadText(dir.File("plain")), "x");

    // The new file cannot be written beside the old one: the old file stays whole.
    const std::string path = dir.File(kColorFileName);
    const std::string old = Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    WriteText(path, old);
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(SaveColorFile(Defaults(), path));
    EXPECT_EQ(ReadText(path), old);
    std::filesystem::remove(path + ".tmp");

    // The new file cannot take the old one's place.
    const std::string folder = dir.File("taken");
    std::filesystem::create_directories(folder + "/inside");
    EXPECT_FALSE(SaveColorFile(Defaults(), folder));
    EXPECT_TRUE(std::filesystem::is_directory(folder + "/inside"));
    EXPECT_FALSE(std::filesystem::exists(folder + ".tmp")) << "the temporary file is cleaned up";

    // A read-only folder; root writes anyway, so this part only runs for other users.
    if (geteuid() != 0) {
        const std::string ro = dir.File("readonly");
        std::filesystem::create_directory(ro);
        WriteText(ro + "/" + kColorFileName, old);
        chmod(ro.c_str(), 0555);
        EXPECT_FALSE(SaveColorFile(Defaults(), ro + "/" + kColorFileName));
        EXPECT_EQ(ReadText(ro + "/" + kColorFileName), old);
        chmod(ro.c_str(), 0755);
    }
}

TEST(PrimarySets, AllFifteenTemplates) {
    const std::map<std::string, std::vector<int>> expected = {
        {"Small Puzzle H", {2, 10}},
        {"Small Puzzle Pinwheel", {3}},
        {"Small Puzzle Five Squares", {4}},
        {"Small Puzzle Wheel", {3, 8}},
        {"Small Puzzle Project X", {2, 4, 8}},
        {"Normal Puzzle Plus", {3, 7}},
        {"Normal Puzzle Steps", {3, 5, 7, 8}},
        {"Normal Puzzle Shield", {2, 4, 5, 7}},
        {"Normal Puzzle Broken Pieces", {3, 5, 7}},
        {"Normal Puzzle Five Plus", {3, 5, 6}},
        {"Normal Puzzle Angled", {3, 5, 8}},
        {"Normal Puzzle HTT", {2, 4, 7}},
        {"Large Puzzle Crazy Eights", {3, 6}},
        {"Large Puzzle Squares", {3, 5, 7}},
        {"Large Puzzle Four Electrodes", {3, 8}},
    };
    ASSERT_EQ(Templates().size(), expected.size());
    for (const auto& t : Templates()) {
        SCOPED_TRACE(std::string(t.name));
        const auto set = PrimarySet(t.name);
        ASSERT_TRUE(set.has_value());
        EXPECT_EQ(*set, expected.at(std::string(t.name)));
    }
    EXPECT_FALSE(PrimarySet("Small Puzzle").has_value());
    EXPECT_FALSE(PrimarySet("small puzzle h").has_value());
    EXPECT_FALSE(PrimarySet("").has_value());
}
