// The credits texts from the version record, and the start-up check for a display.

#include "app/Credits.h"
#include "app/Startup.h"
#include "corvana/Version.h"

#include <gtest/gtest.h>

using namespace corvana;

TEST(Credits, VersionLineShowsMajorAndMinorOnly) {
    EXPECT_EQ(VersionLine(2, 0), "Version: 2.0");
    EXPECT_EQ(VersionLine(10, 12), "Version: 10.12");
    // The version record has three parts; the window shows two.
    ASSERT_EQ(version::Major, 2);
    ASSERT_EQ(version::Minor, 0);
    EXPECT_EQ(Credits().version, "Version: 2.0");
}

TEST(Credits, TextsComeFromTheVersionRecordAndTheMakersOwnSite) {
    const CreditsTexts texts = Credits();
    EXPECT_EQ(texts.title, "Corvana");
    EXPECT_EQ(texts.description,
              "Generator of random numerical fill-in puzzles based on pre-defined templates");
    EXPECT_EQ(texts.legal, version::LegalNotice);
    EXPECT_EQ(texts.createdBy, "Created by:");
    EXPECT_EQ(texts.author, "Corvana developers");
    EXPECT_EQ(texts.site.rfind("https://corvana.example.org", 0), 0u);
    EXPECT_EQ(texts.siteHelp.rfind("https://corvana.example.org", 0), 0u);
    EXPECT_NE(texts.site, texts.siteHelp);
}

TEST(Startup, AWindowNeedsAPlatformOrADisplay) {
    EXPECT_FALSE(HasGraphicalDisplay(nullptr, nullptr, nullptr));
    EXPECT_FALSE(HasGraphicalDisplay("", "", ""));
    EXPECT_TRUE(HasGraphicalDisplay("offscreen", nullptr, nullptr));
    EXPECT_TRUE(HasGraphicalDisplay(nullptr, ":0", nullptr));
    EXPECT_TRUE(HasGraphicalDisplay(nullptr, nullptr, "wayland-0"));
}
