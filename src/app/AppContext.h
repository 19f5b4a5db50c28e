#pragma once

// Everything the program shares between its windows for one run: the puzzle, the colours, the
// dialogs and where the colour file is. main() owns the one instance.

#include "app/QtDialogs.h"
#include "colors/ColorScheme.h"
#include "play/GameStore.h"
#include "play/Records.h"
#include "puzzle/PuzzleState.h"

#include <string>

namespace corvana {

struct AppContext {
    AppContext(std::string path, std::string gameFilePath, std::string recordsFilePath)
        : colorFilePath(std::move(path)), games(std::move(gameFilePath)),
          records(std::move(recordsFilePath), dialogs) {}

    PuzzleState puzzle;
    // Exit on any window sets it; every window that opened a child closes in turn when it finds
    // it set, up to the main window.
    bool ExitRequested = false;
    ColorScheme colors;
    QtDialogs dialogs;
    std::string colorFilePath;
    GameStore games;
    RecordsBook records;
};

// Gives the running QApplication the program's identity from the version record: its name and
// version, the desktop entry id (so that desktops match the windows to the launcher and its
// icon) and the window icon every window inherits.
void ApplyProgramIdentity();

// The colour file of this program: beside the executable, or in the user's configuration
// folder when the program's folder cannot be written. Needs the QApplication.
std::string ProgramColorFilePath();

// The state file of the game in progress, from XDG_STATE_HOME or HOME.
std::string ProgramGameFilePath();

// The best times and statistics, from XDG_DATA_HOME or HOME.
std::string ProgramRecordsFilePath();

// The settings file (the play windows' zoom level): corvana/settings.ini in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string ProgramSettingsPath();

} // namespace corvana
