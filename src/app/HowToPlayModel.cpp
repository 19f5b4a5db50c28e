#include "app/HowToPlayModel.h"

#include <algorithm>

namespace corvana {

namespace {
constexpr ColorValue kRedText = 0x0000FF;
constexpr ColorValue kBlueSquare = 0xFF0000;
constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kBlack = 0x000000;
constexpr int kExampleRow = 60; // row 6: 0123456789 across
} // namespace

const std::array<HelpPage, kHelpPages>& HelpPages() {
    static const std::array<HelpPage, kHelpPages> pages = {{
        {"Overview",
         1680,
         972,
         "How To Play Page 1  --  Overview",
         {{360,
           "The object of the Fill-In is to use the given numbers in the corresponding grid.  In the Small "
           "and Normal Puzzles, the values are sorted numerically, but in the Large Puzzles the values are "
           "sorted by across or down and numerically, due to a larger number of values."},
          {1800,
           "The puzzle begins with a starting number in a predefined space for that puzzle (unless the "
           "option DoNotShowFirstNumber is checked.)  The object is to fill in the remainder of the grid "
           "using the other numbers given the clues provided by the starting number.  You can move around "
           "the grid with the arrow keys, tab button, or by clicking with the mouse."},
          {3480,
           "To the right is the user grid for the small puzzle Five Squares.  The example will use this "
           "grid, however the directions are to be applied to all puzzles of size or pattern."}}},
        {"Techniques",
         2760,
         1092,
         "How To Play Page 2  --  Techniques",
         {{360,
           "First, the puzzle will have a starting number placed in red color with the number checked off "
           "(unless the option DoNotShowFirstNumber is checked.)  This means that the number is only found "
           "in the puzzle in that place."},
          {1800,
           "For example, the number 0123456789 has been filled in to the right.  Its checkbox is also "
           "checked.  Since the value of 0157 has not been checked yet, that means that it is still to be "
           "used in the puzzle.  A good place would be going down starting with the 0 in 0123456789."}}},
        {"AutoFill Instructions",
         3960,
         1092,
         "How To Play Page 3  --  AutoFill Instructions",
         {{360,
           "Clicking on the 0157 checkbox will copy the number into the memory buffer.  The value is shown "
           "in the menu bar."},
          {1200, "Select the 0 square in the grid where the beginning of the number will be entered.  The "
                 "background color of the square will turn blue."},
          {2040, "If you want the program to fill the number ACROSS, click on a square to the RIGHT of the "
                 "starting point.  Similarly, to fill the number DOWN, click on a square BELOW the starting "
                 "location.  In this example, 0157 should be filled down, so a square below the 0 would be "
                 "clicked."},
          {3720, "If you wish to cancel the AutoFill before the number has been written, simply click on a "
                 "square either ABOVE or LEFT of the starting square."}}},
        {"Additional Information",
         5160,
         1212,
         "How To Play Page 4  --  Additional Information",
         {{480,
           "If you cannot determine a number's location in the grid, check other numbers.  Sometimes you "
           "can narrow down the possibilities by checking the 2nd, 3rd, or 7th digit."},
          {1920,
           "That's it!  You should have all the info you need to solve the puzzles.  Should you get stuck, "
           "the solution is available by clicking  &Show Solution / User Grid under the &Edit menu.  Use "
           "this option to toggle your work or the puzzle solution (the name of the grid is stated above "
           "the grid.)   If you still need help, a more comprehensive help is provided with the "
           "installation.  Enjoy the Corvana!"}}},
    }};
    return pages;
}

const std::array<HelpExampleBox, 6>& HelpExampleBoxes() {
    static const std::array<HelpExampleBox, 6> boxes = {{
        {"Check1", "0157", 120, 600, 1092},
        {"Check2", "1347", 120, 840, 1092},
        {"Check3", "8888", 120, 1080, 1092},
        {"Check4", "0123456789", 1440, 600, 1572},
        {"Check5", "3478902165", 1440, 840, 1572},
        {"Check6", "7745290064", 1440, 1080, 1572},
    }};
    return boxes;
}

bool HelpIsBlack(int cell) {
    if (cell < 0 || cell >= kHelpCells)
        return false;
    const int row = cell / kHelpGridWidth;
    const int column = cell % kHelpGridWidth;
    const bool centreColumns = column == 4 || column == 5;
    const bool outerRows = row <= 2 || row >= 7;
    const bool middleRows = row == 4 || row == 5;
    const bool sideColumns = column <= 2 || column >= 7;
    return (outerRows && centreColumns) || (middleRows && sideColumns);
}

HowToPlayModel::HowToPlayModel(bool& exitRequested) : exitRequested_(exitRequested) {
    for (int i = 0; i < kHelpCells; ++i)
        cells_.at(static_cast<std::size_t>(i)).back = HelpIsBlack(i) ? kBlack : kWhite;
}

void HowToPlayModel::Form_Load() {
    currentPage_ = 0;
    ShowPage();
}

void HowToPlayModel::ShowPage() {
    visiblePage_ = currentPage_;

    HelpCheck& check1 = checks_[0];
    HelpCheck& check4 = checks_[3];
    for (int d = 0; d < kHelpGridWidth; ++d) {
        HelpCell& cell = cells_[static_cast<std::size_t>(kExampleRow + d)];
        cell.fore = kRedText;
        cell.text = currentPage_ > 0 ? std::to_string(d) : "";
    }
    check4.ticked = currentPage_ > 0;
    check4.fore = check4.ticked ? kHelpTicked : kWhite;

    HelpCell& start = cells_[kExampleRow];
    if (currentPage_ == 2) {
        bufferCaption_ = "Buffer = 0157";
        start.back = kBlueSquare;
    } else {
        bufferCaption_ = "Buffer =";
        start.back = kWhite;
    }

    check1.ticked = currentPage_ >= 2;
    check1.fore = check1.ticked ? kHelpTicked : kWhite;

    const bool placed = currentPage_ == 3;
    cells_[70].text = placed ? "1" : "";
    cells_[80].text = placed ? "5" : "";
    cells_[90].text = placed ? "7" : "";

    backEnabled_ = currentPage_ >= 1;
    forwardEnabled_ = currentPage_ < 3;

    // Selecting the page's option button by code would run its click once more; that second
    // ShowPage would change nothing, so it is left out.
    selectedOption_ = currentPage_;
}

void HowToPlayModel::cmdBack_Click() {
    if (currentPage_ <= 0)
        return;
    --currentPage_;
    ShowPage();
}

void HowToPlayModel::cmdForward_Click() {
    if (currentPage_ >= kHelpPages - 1)
        return;
    ++currentPage_;
    ShowPage();
}

void HowToPlayModel::optSelection_Click(int index) {
    if (index < 0 || index >= kHelpPages)
        return;
    currentPage_ = static_cast<std::int16_t>(index);
    ShowPage();
}

void HowToPlayModel::mnuReturnToMain_Click() {
    closed_ = true;
}

void HowToPlayModel::mnuExit_Click() {
    exitRequested_ = true;
    closed_ = true;
}

} // namespace corvana
