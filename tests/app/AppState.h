#pragma once

#include "colors/ColorScheme.h"
#include "puzzle/PuzzleState.h"

#include "FakeDialogs.h"
#include "TempDir.h"

#include <string>

namespace corvana::test {

// What the main window and its children share: a folder for their files, the colour file's
// place in it, the puzzle, the exit flag, the scheme and the scripted dialogs.
struct AppState {
    TempDir dir;
    std::string colorFile = dir.File(kColorFileName);
    PuzzleState puzzle;
    bool exitRequested = false;
    ColorScheme colors;
    FakeDialogs dialogs;
};

} // namespace corvana::test
