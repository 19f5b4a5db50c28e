#include "app/Startup.h"

namespace corvana {

bool HasGraphicalDisplay(const char* qpaPlatform, const char* x11Display, const char* waylandDisplay) {
    const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
    return set(qpaPlatform) || set(x11Display) || set(waylandDisplay);
}

} // namespace corvana
