#pragma once

// What sets the three play forms apart, as data: grid width, geometry (in twips), tab order,
// the lengths of their number lists and the per-template list layouts.

#include "core/Twips.h"
#include "puzzle/Templates.h"

#include <array>
#include <string_view>
#include <vector>

namespace corvana {

// Where one list of a template stands. `firstDownBox` is used on the Large form only; the
// down list keeps the across list's columns.
struct ListLayout {
    int digits;
    TwipPoint heading;
    TwipPoint firstBox;
    TwipPoint firstDownBox;
    int columns;
    int columnStep;
};

struct TemplateLayout {
    std::string_view name;
    std::vector<ListLayout> lists;
};

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
    std::vector<TemplateLayout> layouts;

    int CellCount() const { return width * width; }
    int ColorIndex() const { return static_cast<int>(size); }
    const TemplateLayout* Layout(std::string_view puzzleName) const;
    // Cell i stands at Left 120 + 300 x column, Top 240 + 300 x row, 252 x 288, in fraUserGrid.
    TwipRect CellRect(int cell) const;
    int TabIndex(int cell) const { return tabBackwards ? tabBase - cell : tabBase + cell; }
};

const FormConfig& frmSmallSize();
const FormConfig& frmNormal();
const FormConfig& frmLarge();
const FormConfig& FormFor(SizeClass size);

} // namespace corvana
