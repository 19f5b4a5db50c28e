#include "colors/ColorEditor.h"

#include "corvana/Version.h"

#include <cstddef>
#include <utility>

namespace corvana {

std::string InstructionsText() {
    const std::string crlf = "\r\n";
    return std::string("You can change the way the ") + version::ProductName + " appears on your screen." +
           crlf + crlf +
           "The Primary and Secondary colors refer to the color of the number columns.  You may keep these "
           "colors different to easily "
           "discern which column is which at a glance.  The Background color is the overall color of the "
           "puzzle.  The Checked color is used "
           "to show a number that has been checked off from the list, making it easier to see which numbers "
           "have been used.  The puzzle grid is "
           "always set for black and white squares.  Additional text will take the Primary color (e.g. "
           "ACROSS "
           "text on Large puzzles.)" +
           crlf + crlf +
           "Simply click on the color box that you want to change.  If you make any changes to the existing "
           "color scheme, you will be asked "
           "to save your changes to a text file.  You can restore the program defaults or save your changes "
           "from the menu.";
}

ColorEditor::ColorEditor(ColorScheme& colors, bool& exitRequested, Dialogs& dialogs,
                         std::string colorFilePath)
    : colors_(colors), exitRequested_(exitRequested), dialogs_(dialogs), path_(std::move(colorFilePath)) {}

void ColorEditor::Form_Load() {
    IsLoading = true;
    ShowColors();
}

void ColorEditor::Form_Activate() {
    IsLoading = false;
    ColorsChanged = false;
}

bool ColorEditor::Form_Unload() {
    if (!ColorsChanged)
        return true;
    const Answer answer = dialogs_.MessageBox(colortexts::kAskSave, version::ProductName,
                                              Buttons::YesNoCancel, Icon::Exclamation);
    if (answer == Answer::Yes) {
        if (!SaveColorFile(colors_, path_))
            dialogs_.MessageBox(colortexts::kSaveSelectionsFailed, version::Title, Buttons::Ok, Icon::None);
        ColorsChanged = false;
        return true;
    }
    if (answer == Answer::No) {
        ColorsChanged = false;
        return true;
    }
    // Cancel, or the question closed without an answer: the window stays open.
    return false;
}

bool ColorEditor::Unload() {
    if (unloaded_)
        return true;
    if (!Form_Unload())
        return false;
    unloaded_ = true;
    return true;
}

void ColorEditor::ClickRow(ColorRow row, int index) {
    if (index < 0 || index > 2)
        return;
    const auto k = static_cast<std::size_t>(index);
    ColorValue& sample = samples_[static_cast<std::size_t>(row)][k];
    const ColorValue chosen = ChangeColor(sample);
    if (sample == chosen)
        return;
    sample = chosen;
    SchemeColor(row, index) = chosen;
    if (!IsLoading)
        ColorsChanged = true;
}

void ColorEditor::mnuDefault_Click() {
    SetDefaultColors(colors_);
    ShowColors();
    // The defaults are in force in memory whether or not the file could be written.
    SaveColorFile(colors_, path_);
    ColorsChanged = false;
}

void ColorEditor::mnuSave_Click() {
    if (!ColorsChanged)
        return;
    if (!SaveColorFile(colors_, path_))
        dialogs_.MessageBox(colortexts::kSaveSchemeFailed, version::ProductName, Buttons::Ok,
                            Icon::Information);
    ColorsChanged = false;
}

void ColorEditor::mnuReturn_Click() {
    Unload();
}

void ColorEditor::mnuExit_Click() {
    exitRequested_ = true;
    Unload();
}

ColorValue ColorEditor::ChangeColor(ColorValue oldColor) {
    return dialogs_.PickColor(oldColor);
}

void ColorEditor::ShowColors() {
    for (const ColorRow row : kColorRows)
        for (int k = 0; k < 3; ++k)
            samples_[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)] = SchemeColor(row, k);
}

ColorValue ColorEditor::Sample(ColorRow row, int index) const {
    if (index < 0 || index > 2)
        return 0;
    return samples_[static_cast<std::size_t>(row)][static_cast<std::size_t>(index)];
}

ColorValue& ColorEditor::SchemeColor(ColorRow row, int index) {
    const auto k = static_cast<std::size_t>(index);
    switch (row) {
    case ColorRow::Background:
        return colors_.BackgroundColor[k];
    case ColorRow::Primary:
        return colors_.PrimaryColor[k];
    case ColorRow::Secondary:
        return colors_.SecondaryColor[k];
    case ColorRow::Checked:
        break;
    }
    return colors_.CheckedColor[k];
}

} // namespace corvana
