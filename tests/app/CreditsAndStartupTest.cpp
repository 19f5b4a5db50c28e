// The credits texts from the version record, and the start-up check for a display.
#include "app/Credits.h"
#include "app/Startup.h"
#include "corvana/Version.h"

#include <gtest/gtest.h>

using namespace corvana;

TEST(Credits, TextsComeFromTheVersionRecordWithMajorAndMinorOnlyAndTheMakersOwnSite) {
    EXPECT_EQ(VersionLine(10, 12), "Version: 10.12");
    // The version record has three parts; the window shows two.
    ASSERT_EQ(version::Major, 2);
    ASSERT_EQ(version::Minor, 0);
    const CreditsTexts texts = Credits();
    EXPECT_EQ(texts.version, "Version: 2.0");
    EXPECT_EQ(texts.title, "Corvana");
    EXPECT_EQ(texts.description,
              "Generator of random numerical fill-in puzzles based on pre-defined templates");
    EXPECT_EQ(texts.legal, version::LegalNotice);
    EXPECT_EQ(texts.createdBy, "Created by:");
    EXPECT_EQ(texts.author, "Corvana developers");
    EXPECT_EQ(texts.invitation, "Visit our web sites for news, more puzzles and help:");
    EXPECT_EQ(texts.site, "https://corvana.example.org");
    EXPECT_EQ(texts.siteHelp, "https://corvana.example.org/help");
}

TEST(Startup, AWindowNeedsAPlatformOrADisplay) {
    EXPECT_FALSE(HasGraphicalDisplay(nullptr, nullptr, nullptr));
    EXPECT_FALSE(HasGraphicalDisplay("", "", ""));
    EXPECT_TRUE(HasGraphicalDisplay("offscreen", nullptr, nullptr));
    EXPECT_TRUE(HasGraphicalDisplay(nullptr, ":0", nullptr));
    EXPECT_TRUE(HasGraphicalDisplay(nullptr, nullptr, "wayland-0"));
}
