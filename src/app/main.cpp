// Corvana: starts the main window, opens what the command line asks for, and runs until the
// main window closes.

#include "app/AppContext.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/QtWindowOpener.h"
#include "app/Startup.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace corvana;
    // The command line is the program's own: Qt's options (-platform and the like) have their
    // environment variables instead, so they can never be taken for a puzzle file.
    const CommandLine commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.exitStatus) {
        std::fputs(commandLine.out.c_str(), stdout);
        std::fputs(commandLine.err.c_str(), stderr);
        return *commandLine.exitStatus;
    }

    // Without a display Qt would abort with a long message; say it in one line instead.
    if (!HasGraphicalDisplay(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"))) {
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        return 1;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    ApplyProgramIdentity();

    AppContext context(ProgramColorFilePath(), ProgramGameFilePath(), ProgramRecordsFilePath());
    QtWindowOpener opener(context.puzzle, context.ExitRequested, context.colors, context.dialogs,
                          context.colorFilePath, &context.games, &context.records);
    MainWindow window(context.puzzle, context.ExitRequested, context.colors, context.dialogs, opener,
                      context.colorFilePath, {}, &context.games, &context.records);
    opener.SetParent(&window);
    opener.RememberZoomIn(ProgramSettingsPath());
    window.Form_Load();
    window.show();
    // The puzzle opens over the main window once the program is running, as if from its menu.
    const StartRequest request = commandLine.request;
    QTimer::singleShot(0, &window, [&window, request] { window.Open(request); });
    return QApplication::exec();
}
