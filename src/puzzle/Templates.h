#pragma once

#include "core/Twips.h"

#include <string_view>
#include <vector>

namespace corvana {

enum class SizeClass { Small = 0, Normal = 1, Large = 2 };

// Grid width of a size class: 10, 15 or 20.
int GridWidth(SizeClass size);
int CellCount(SizeClass size);
std::string_view SizeClassName(SizeClass size);

// The slots of one digit count: the first cells of its across slots in the order the across
// numbers are drawn, and the top cells of its down slots in the order they are read.
struct SlotGroup {
    int digits;
    std::vector<int> across;
    std::vector<int> down;
};

// Where one list of a template stands on its play form. `firstDownBox` is used on the Large form
// only; the down list keeps the across list's columns.
struct ListLayout {
    int digits;
    TwipPoint heading;
    TwipPoint firstBox;
    TwipPoint firstDownBox;
    int columns;
    int columnStep;
};

// One fixed grid. Everything a build needs is here; the build procedure is the same for all.
struct TemplateRecord {
    std::string_view name;
    SizeClass size;
    // One text per row: 'X' a black square, '.' a white one.
    std::vector<std::string_view> picture;
    // Ascending by digit count.
    std::vector<SlotGroup> slots;
    // The starting number is across slot `starterK` (from 1) of `starterDigits` digits.
    int starterDigits;
    int starterK;
    // The digit counts whose lists the play window shows in the Primary colour; the others take
    // the Secondary colour.
    std::vector<int> primary;
    // Its lists on the play form of its size class, in the form's list order.
    std::vector<ListLayout> lists;

    int Width() const { return GridWidth(size); }
    bool IsBlack(int cell) const;
    // Large templates keep separate across and down lists; the others merge them.
    bool SeparateLists() const { return size == SizeClass::Large; }
    const SlotGroup* Group(int digits) const;
    int StarterFirstCell() const;
    int StarterLastCell() const;
};

// The fifteen templates in dispatch order.
const std::vector<TemplateRecord>& Templates();
// The template of that exact name, or nullptr.
const TemplateRecord* FindTemplate(std::string_view name);

} // namespace corvana
