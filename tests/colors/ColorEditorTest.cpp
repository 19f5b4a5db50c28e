#include "colors/ColorEditor.h"

#include "../app/AppState.h"
#include "DefaultColors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace corvana;
using namespace corvana::test;

namespace {

const Message kAskToSave{"The color selections have changed.  Do you want to save changes?", "Corvana",
                         Buttons::YesNoCancel, Icon::Exclamation};

class ColorEditorTest : public ::testing::Test, public AppState {
protected:
    ColorEditorTest() { SetDefaultColors(colors); }

    // Loads and activates the editor, as showing the window does (or only loads it).
    ColorEditor& Open(const std::string& path = {}, bool activate = true) {
        editor =
            std::make_unique<ColorEditor>(colors, exitRequested, dialogs, path.empty() ? colorFile : path);
        editor->Form_Load();
        if (activate)
            editor->Form_Activate();
        return *editor;
    }

    std::unique_ptr<ColorEditor> editor;
};

} // namespace

// A box and a label each change their own colour only; cancelling, the same colour, a bad index or a
// change while loading are no change to save.
TEST_F(ColorEditorTest, AClickChangesItsOwnColourAndOnlyARealChangeCounts) {
    ColorEditor& e = Open();
    ColorScheme expected = Defaults();
    for (const std::size_t k : {0u, 1u, 2u}) {
        const int i = static_cast<int>(k);
        EXPECT_EQ(e.Sample(ColorRow::Checked, i), colors.CheckedColor[k]) << "shown when opened";
        dialogs.colors = {0x010203 + i, 0x040506 + i};
        dialogs.colorRequests.clear();
        e.picSecondary_Click(i);
        e.lblChecked_Click(i);
        // The picker opens on the colour.
        EXPECT_EQ(dialogs.colorRequests, (std::vector{expected.SecondaryColor[k], expected.CheckedColor[k]}));
        expected.SecondaryColor[k] = 0x010203 + i;
        expected.CheckedColor[k] = 0x040506 + i;
        EXPECT_EQ(std::pair(colors, e.Sample(ColorRow::Checked, i)), std::pair(expected, 0x040506 + i));
    }
    EXPECT_FALSE(fs::exists(colorFile)) << "a change alone does not write the file";

    SetDefaultColors(colors);
    ColorEditor& fresh = Open();
    fresh.picPrimary_Click(1); // the fake picker hands the initial colour back, as Cancel does
    dialogs.colors = {0x400000};
    fresh.lblBG_Click(1); // the colour the box already shows
    dialogs.colorRequests.clear();
    fresh.picBG_Click(3);
    fresh.lblChecked_Click(-1);
    // No picker outside the three size classes.
    EXPECT_EQ(std::tuple(dialogs.colorRequests.size(), colors == Defaults(), fresh.ColorsChanged),
              std::tuple(0u, true, false));
    dialogs.colors = {0x000001};
    fresh.picChecked_Click(0);
    fresh.picChecked_Click(0);
    EXPECT_TRUE(fresh.ColorsChanged) << "cancelling after a real change leaves the flag set";

    EXPECT_TRUE(Open({}, false).IsLoading);
    dialogs.colors = {0x0000FF};
    editor->picBG_Click(2);
    // Before activation a change is applied but not counted.
    EXPECT_EQ(std::pair(colors.BackgroundColor[2], editor->ColorsChanged), std::pair(0x0000FF, false));
    editor->Form_Activate();
    EXPECT_FALSE(editor->IsLoading);
}

// Save writes only a changed scheme; Restore Default Colors writes the default file at once.
TEST_F(ColorEditorTest, SaveWritesOnlyAChangedSchemeAndRestoreWritesTheDefaults) {
    const std::string old = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n";
    WriteText(colorFile, old);
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(colorFile, stamp);
    ColorEditor& e = Open();
    e.picBG_Click(0); // cancelled
    e.mnuSave_Click();
    EXPECT_EQ(std::pair(ReadText(colorFile), fs::last_write_time(colorFile)), std::pair(old, stamp));

    dialogs.colors = {255, 7};
    e.picSecondary_Click(0);
    e.mnuSave_Click();
    EXPECT_FALSE(e.ColorsChanged);
    EXPECT_EQ(ReadText(colorFile), "16384\r\n4194304\r\n4194368\r\n16777215\r\n16777215\r\n8454143\r\n"
                                   "255\r\n16776960\r\n16744703\r\n8421504\r\n8421504\r\n8421504\r\n");
    e.picBG_Click(1);
    e.mnuDefault_Click();
    EXPECT_EQ(std::pair(colors == Defaults(), e.Sample(ColorRow::Background, 1)), std::pair(true, 0x400000));
    EXPECT_EQ(std::pair(ReadText(colorFile), e.ColorsChanged), std::pair(std::string(kDefaultFile), false));
    // No question after a save.
    EXPECT_EQ((std::pair{e.Unload(), dialogs.messages.empty()}), std::pair(true, true));
}

TEST_F(ColorEditorTest, FailedSavesSaySoInTheirOwnWords) {
    ColorEditor& e = Open(dir.File("missing/" + std::string(kColorFileName)));
    dialogs.colors = {9, 0x00FF00};
    e.picPrimary_Click(2);
    e.mnuSave_Click();
    EXPECT_EQ(std::pair(e.ColorsChanged, colors.PrimaryColor[2]), std::pair(false, 9)) << "memory keeps them";

    e.picBG_Click(0);
    dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(e.Unload());
    const std::vector<Message> expected = {
        {"There was an error in saving the color scheme.  You can still use the default colors.", "Corvana",
         Buttons::Ok, Icon::Information},
        kAskToSave,
        {"There was an error in saving the color selections.  You can still use the default colors.",
         "Corvana", Buttons::Ok, Icon::None}};
    EXPECT_EQ(dialogs.messages, expected);
    EXPECT_EQ(std::pair(e.ColorsChanged, colors.BackgroundColor[0]), std::pair(false, 0x00FF00));
    e.mnuDefault_Click();
    // The defaults are used even when they cannot be written, and that failure says nothing.
    EXPECT_EQ(std::pair(colors, dialogs.messages.size()), std::pair(Defaults(), std::size_t{3}));
}

// Return and Exit close at once without changes; with changes they ask first, and Cancel stays. An
// exit request is never taken back, and the changed colours stay in force for the rest of the run.
TEST_F(ColorEditorTest, TheClosingQuestionSavesDiscardsOrStaysAndExitIsNeverTakenBack) {
    // Whether a colour is changed first, the answer to the question if one is asked, and Exit or Return.
    const std::tuple<bool, Answer, bool> cases[] = {
        {false, Answer::No, false}, {false, Answer::No, true},  {true, Answer::Cancel, false},
        {true, Answer::No, false},  {true, Answer::Yes, false}, {true, Answer::Cancel, true}};
    for (const auto& [change, answer, exit] : cases) {
        SetDefaultColors(colors);
        WriteText(colorFile, kDefaultFile);
        dialogs.messages.clear();
        exitRequested = false;
        ColorEditor& e = Open();
        dialogs.colors = {0x00FF00};
        if (change)
            e.lblSecondary_Click(2);
        dialogs.answers = {answer};
        exit ? e.mnuExit_Click() : e.mnuReturn_Click();
        EXPECT_EQ(dialogs.messages, std::vector<Message>(change, kAskToSave)) << "no question unchanged";
        EXPECT_EQ(std::tuple(e.Unloaded(), e.ColorsChanged, exitRequested),
                  std::tuple(answer != Answer::Cancel, answer == Answer::Cancel, exit));
        EXPECT_EQ(colors.SecondaryColor[2], change ? 0x00FF00 : Defaults().SecondaryColor[2]);
        EXPECT_EQ(ReadText(colorFile) == kDefaultFile, answer != Answer::Yes) << "saved only on Yes";
        // Asked once for a change, and again after Cancel.
        dialogs.answers = {Answer::No};
        // The window's own close lets it go, asking again after Cancel.
        EXPECT_EQ((std::tuple{e.Unload(), dialogs.messages.size(), exitRequested}),
                  std::tuple(true, std::size_t{change} + (answer == Answer::Cancel), exit));
    }
}
