#pragma once

// What sets the three play forms apart, as data: grid width, geometry (in twips), tab order,
// the lengths of their number lists. Where each template's lists stand is in its record.

#include "core/Twips.h"
#include "puzzle/Templates.h"

#include <array>
#include <string_view>
#include <vector>

namespace corvana {

struct FormConfig {
    std::string_view name; // frmSmallSize, frmNormal, frmLarge
    SizeClass size;
    int width;   // cells per row
    int tabBase; // tab index of cell i: tabBase + i, or tabBase - i when tabBackwards
    bool tabBackwards;
    TwipRect work;     // fraWork
    TwipRect userGrid; // fraUserGrid
    int resizeDx;      // Form_Resize allowances for borders, title and menu bar
    int resizeDy;
    std::string_view returnCaption;
    std::vector<int> lengths;     // digit counts that have a list on this form, ascending
    bool separateLists;           // across and down lists (Large)
    std::array<int, 11> boxWidth; // designed check box width by digit count
    TwipRect copyright;           // lblCopyright

    int CellCount() const { return width * width; }
    int ColorIndex() const { return static_cast<int>(size); }
    // Cell i stands at Left 120 + 300 x column, Top 240 + 300 x row, 252 x 288, in fraUserGrid.
    TwipRect CellRect(int cell) const;
    int TabIndex(int cell) const { return tabBackwards ? tabBase - cell : tabBase + cell; }
};

const FormConfig& frmSmallSize();
const FormConfig& frmNormal();
const FormConfig& frmLarge();
const FormConfig& FormFor(SizeClass size);

} // namespace corvana
