#include "colors/ColorFileLocation.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace corvana;
namespace fs = std::filesystem;

TEST(ColorFileLocation, AWritableProgramFolderKeepsTheFileOtherwiseTheUserConfigurationDoes) {
    test::TempDir dir;
    const fs::path root = dir.path();
    EXPECT_EQ((ColorFileLocation{root.string(), "/somewhere/else", "/home/nobody"}.Path()),
              (root / "QUAVColors.txt").string());

    // A "folder" that is a regular file can be written by nobody, root included.
    const fs::path notAFolder = root / "program";
    test::WriteText(notAFolder.string(), "x");
    const fs::path xdg = root / "xdg";
    EXPECT_EQ((ColorFileLocation{notAFolder.string(), xdg.string(), (root / "home").string()}.Path()),
              (xdg / "corvana" / "QUAVColors.txt").string());
    EXPECT_TRUE(fs::is_directory(xdg / "corvana")) << "the folder is made so a save can succeed";
    EXPECT_EQ((ColorFileLocation{notAFolder.string(), "relative/ignored", (root / "home").string()}.Path()),
              (root / "home" / ".config" / "corvana" / "QUAVColors.txt").string());

    // With nowhere else to go the program folder is kept.
    EXPECT_EQ((ColorFileLocation{"/nonexistent/corvana", "", ""}.Path()),
              "/nonexistent/corvana/QUAVColors.txt");
    EXPECT_FALSE(FolderIsWritable("/nonexistent/corvana"));
    EXPECT_FALSE(FolderIsWritable(""));
}

TEST(ColorFileLocation, AnInstalledProgramKeepsItsColoursWithTheUserEvenAsRoot) {
    test::TempDir dir;
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin"));
    EXPECT_TRUE(IsSystemProgramFolder("/usr/bin/"));
    EXPECT_FALSE(IsSystemProgramFolder(dir.path().string()));
    EXPECT_EQ((ColorFileLocation{"/usr/bin", dir.File("xdg"), ""}.Path()),
              dir.File("xdg/corvana/QUAVColors.txt"));
}
