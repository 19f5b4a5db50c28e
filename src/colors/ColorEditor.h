#pragma once

// The colour editor ColorEditorWindow without its window: what each click and menu command does to the
// colour scheme, the colour file and the two form flags. Qt-free; the window (ColorEditorWindow.h)
// shows this state and forwards the user's clicks and commands to it.

#include "colors/ColorScheme.h"
#include "seam/Dialogs.h"

#include <array>
#include <string>

namespace corvana {

// The four rows of every frame, from the top.
enum class ColorRow { Background = 0, Primary = 1, Secondary = 2, Checked = 3 };
inline constexpr std::array<ColorRow, 4> kColorRows = {ColorRow::Background, ColorRow::Primary,
                                                       ColorRow::Secondary, ColorRow::Checked};

namespace colortexts {
inline constexpr const char* kCaption = "Color Options";
inline constexpr const char* kFrameCaptions[] = {"Small Puzzle", "Normal Puzzle", "Large Puzzle"};
inline constexpr const char* kRowCaptions[] = {"Background", "Primary", "Secondary", "Checked"};
inline constexpr const char* kSampleToolTip = "Click to change color";
inline constexpr const char* kOptionsMenu = "&Options";
inline constexpr const char* kDefaultMenu = "Restore Default Colors";
inline constexpr const char* kSaveMenu = "Save Color Scheme";
inline constexpr const char* kReturnMenu = "Return to Main";
inline constexpr const char* kExitMenu = "E&xit";
inline constexpr const char* kAskSave = "The color selections have changed.  Do you want to save changes?";
inline constexpr const char* kSaveSchemeFailed =
    "There was an error in saving the color scheme.  You can still use the default colors.";
inline constexpr const char* kSaveSelectionsFailed =
    "There was an error in saving the color selections.  You can still use the default colors.";
} // namespace colortexts

// The text of lblInstructions (lines end in CR LF).
std::string InstructionsText();

class ColorEditor {
public:
    // `colors` is the scheme every play window reads; changes go into it at once.
    // `exitRequested` is the program-wide exit flag (the one AppContext owns).
    // `colorFilePath` is where Save, Restore Default Colors and Yes at the closing question write.
    ColorEditor(ColorScheme& colors, bool& exitRequested, Dialogs& dialogs, std::string colorFilePath);

    // The window opens: IsLoading until it is first activated; the samples show the scheme.
    void Form_Load();
    // The window is shown and active for the first time.
    void Form_Activate();
    // The closing question. True when the window may close; false when the user chose Cancel.
    bool Form_Unload();

    // A click on a sample box or on the label of its row; `index` is the size class 0 to 2.
    void picBG_Click(int index) { ClickRow(ColorRow::Background, index); }
    void picPrimary_Click(int index) { ClickRow(ColorRow::Primary, index); }
    void picSecondary_Click(int index) { ClickRow(ColorRow::Secondary, index); }
    void picChecked_Click(int index) { ClickRow(ColorRow::Checked, index); }
    void lblBG_Click(int index) { ClickRow(ColorRow::Background, index); }
    void lblPrimary_Click(int index) { ClickRow(ColorRow::Primary, index); }
    void lblSecondary_Click(int index) { ClickRow(ColorRow::Secondary, index); }
    void lblChecked_Click(int index) { ClickRow(ColorRow::Checked, index); }
    void ClickRow(ColorRow row, int index);

    void mnuDefault_Click();
    void mnuSave_Click();
    // Both close the window through Form_Unload; see Unloaded().
    void mnuReturn_Click();
    void mnuExit_Click();

    // Closes the window through the closing question. True when it closed.
    bool Unload();
    // True once the window has closed; the view then hides itself.
    bool Unloaded() const { return unloaded_; }

    // Shows the colour picker on `oldColor`; a cancelled picker gives `oldColor` back.
    ColorValue ChangeColor(ColorValue oldColor);
    // Copies the scheme into the twelve sample boxes.
    void ShowColors();
    // The colour a sample box shows.
    ColorValue Sample(ColorRow row, int index) const;

    bool IsLoading = false;
    bool ColorsChanged = false;

    const std::string& ColorFilePath() const { return path_; }

private:
    ColorValue& SchemeColor(ColorRow row, int index);

    ColorScheme& colors_;
    bool& exitRequested_;
    Dialogs& dialogs_;
    std::string path_;
    std::array<std::array<ColorValue, 3>, 4> samples_{};
    bool unloaded_ = false;
};

} // namespace corvana
