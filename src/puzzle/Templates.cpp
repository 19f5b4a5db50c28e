#include "puzzle/Templates.h"

namespace corvana {

int GridWidth(SizeClass size) {
    // Small, Normal and Large: 10, 15 and 20 squares a side.
    return 10 + 5 * static_cast<int>(size);
}

int CellCount(SizeClass size) {
    return GridWidth(size) * GridWidth(size);
}

std::string_view SizeClassName(SizeClass size) {
    switch (size) {
    case SizeClass::Small:
        return "Small";
    case SizeClass::Normal:
        return "Normal";
    case SizeClass::Large:
        return "Large";
    }
    return "Small";
}

bool TemplateRecord::IsBlack(int cell) const {
    const int w = Width();
    return picture[static_cast<std::size_t>(cell / w)][static_cast<std::size_t>(cell % w)] == 'X';
}

const SlotGroup* TemplateRecord::Group(int digits) const {
    for (const auto& group : slots)
        if (group.digits == digits)
            return &group;
    return nullptr;
}

int TemplateRecord::StarterFirstCell() const {
    return Group(starterDigits)->across[static_cast<std::size_t>(starterK - 1)];
}

int TemplateRecord::StarterLastCell() const {
    return StarterFirstCell() + starterDigits - 1;
}

const TemplateRecord* FindTemplate(std::string_view name) {
    for (const auto& record : Templates())
        if (record.name == name)
            return &record;
    return nullptr;
}

} // namespace corvana
