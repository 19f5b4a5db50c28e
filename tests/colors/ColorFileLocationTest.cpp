#include "colors/ColorFileLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace corvana;
namespace fs = std::filesystem;

namespace {

// A scratch folder that is removed again after the test.
struct Scratch {
    Scratch() {
        root = fs::temp_directory_path() /
               ("corvana-location-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~Scratch() { fs::remove_all(root); }
    fs::path root;
};

} // namespace

TEST(ColorFileLocation, AWritableProgramFolderKeepsTheFile) {
    Scratch s;
    const ColorFileLocation where{s.root.string(), "/somewhere/else", "/home/nobody"};
    EXPECT_EQ(where.Path(), (s.root / "QUAVColors.txt").string());
}

TEST(ColorFileLocation, AnUnwritableProgramFolderFallsBackToTheUserConfiguration) {
    Scratch s;
    // A "folder" that is a regular file can be written by nobody, root included.
    const fs::path notAFolder = s.root / "program";
    std::ofstream(notAFolder) << "x";
    const fs::path xdg = s.root / "xdg";
    const ColorFileLocation withXdg{notAFolder.string(), xdg.string(), (s.root / "home").string()};
    EXPECT_EQ(withXdg.Path(), (xdg / "corvana" / "QUAVColors.txt").string());
    EXPECT_TRUE(fs::is_directory(xdg / "corvana")) << "the folder is made so a save can succeed";

    const ColorFileLocation withHome{notAFolder.string(), "relative/ignored", (s.root / "home").string()};
    EXPECT_EQ(withHome.Path(), (s.root / "home" / ".config" / "corvana" / "QUAVColors.txt").string());
}

TEST(ColorFileLocation, WithNowhereElseToGoTheProgramFolderIsKept) {
    const ColorFileLocation where{"/nonexistent/corvana", "", ""};
    EXPECT_EQ(where.Path(), "/nonexistent/corvana/QUAVColors.txt");
    EXPECT_FALSE(FolderIsWritable("/nonexistent/corvana"));
    EXPECT_FALSE(FolderIsWritable(""));
}

TEST(ColorFileLocation, AnInstalledProgramKeepsItsColoursWithTheUserEvenAsRoot) {
    Scratch s;
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin"));
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin/"));
    EXPECT_FALSE(IsSystemProgramFolder(s.root.string()));
    const ColorFileLocation installed{"/usr/bin", (s.root / "xdg").string(), ""};
    EXPECT_EQ(installed.Path(), (s.root / "xdg" / "corvana" / "QUAVColors.txt").string());
}
