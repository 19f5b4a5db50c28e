#pragma once

// Facts the program needs before it can open a window. Qt-free.

#include <string>

namespace corvana {

// True when a window can be shown: a platform was chosen (QT_QPA_PLATFORM) or an X11 or
// Wayland display is there. Each argument is that variable's value, or null when unset.
bool HasGraphicalDisplay(const char* qpaPlatform, const char* x11Display, const char* waylandDisplay);

inline constexpr const char* kNoDisplayMessage =
    "corvana: no graphical display found; start it from a desktop session, or set DISPLAY, "
    "WAYLAND_DISPLAY or QT_QPA_PLATFORM";

} // namespace corvana
