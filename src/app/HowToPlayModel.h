#pragma once

// The help window's pages and its example, without the window. Qt-free. HowToPlayWindow shows
// exactly this state; the example grid and list are pictures only and never take input.

#include "puzzle/PuzzleState.h"
#include "seam/Dialogs.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvana {

inline constexpr int kHelpPages = 4;
inline constexpr int kHelpGridWidth = 10;
inline constexpr int kHelpCells = kHelpGridWidth * kHelpGridWidth;
inline constexpr ColorValue kHelpBackground = 0x004000; // dark green
inline constexpr ColorValue kHelpTicked = 0x808080;     // grey text of a ticked example box

struct HelpLabel {
    int top; // twips, inside the page frame
    std::string text;
};

struct HelpPage {
    std::string selector;     // caption of optSelection(k)
    int selectorLeft;         // twips
    int selectorWidth;        // twips
    std::string frameCaption; // caption of fraHowToPlay(k)
    std::vector<HelpLabel> labels;
};

const std::array<HelpPage, kHelpPages>& HelpPages();

// The example list: Check1 ... Check6 and their positions in Frame1.
struct HelpExampleBox {
    std::string name;
    std::string caption;
    int left;
    int top;
    int width;
};
const std::array<HelpExampleBox, 6>& HelpExampleBoxes();

// True for a black square of the example grid (the Five Squares shape).
bool HelpIsBlack(int cell);

struct HelpCell {
    std::string text;
    ColorValue fore = 0x000000;
    ColorValue back = 0xFFFFFF; // black squares are 0x000000
};

struct HelpCheck {
    bool ticked = false;
    ColorValue fore = 0xFFFFFF;
};

class HowToPlayModel {
public:
    // `exitRequested` is the program-wide exit flag that Exit sets.
    explicit HowToPlayModel(bool& exitRequested);

    void Form_Load();
    void ShowPage();
    void cmdBack_Click();
    void cmdForward_Click();
    void optSelection_Click(int index);
    void mnuReturnToMain_Click();
    void mnuExit_Click();

    int CurrentPage() const { return currentPage_; }
    bool PageVisible(int page) const { return page == visiblePage_; }
    int SelectedOption() const { return selectedOption_; }
    bool BackEnabled() const { return backEnabled_; }
    bool ForwardEnabled() const { return forwardEnabled_; }
    const std::string& BufferCaption() const { return bufferCaption_; }
    const HelpCell& Cell(int i) const { return cells_[static_cast<std::size_t>(i)]; }
    // Index 1 to 6, as Check1 ... Check6.
    const HelpCheck& Check(int n) const { return checks_[static_cast<std::size_t>(n - 1)]; }
    // True once the window has unloaded itself.
    bool Closed() const { return closed_; }

private:
    bool& exitRequested_;
    std::int16_t currentPage_ = 0;
    int visiblePage_ = -1;
    int selectedOption_ = -1;
    bool backEnabled_ = true;
    bool forwardEnabled_ = true;
    std::string bufferCaption_ = "Buffer =";
    std::array<HelpCell, kHelpCells> cells_;
    std::array<HelpCheck, 6> checks_;
    bool closed_ = false;
};

} // namespace corvana
