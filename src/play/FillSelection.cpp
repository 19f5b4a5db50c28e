#include "play/FillSelection.h"

#include <cstdlib>

namespace corvana {

FillDirection FillSelection::Direction(int width) const {
    const int columns = std::abs(First() % width - Second() % width);
    const int rows = std::abs(Second() / width - First() / width);
    return columns < rows ? FillDirection::Down : FillDirection::Across;
}

} // namespace corvana
