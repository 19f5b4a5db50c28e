// Corvana: starts the main window and runs until it closes.

#include "app/AppContext.h"
#include "app/QtWindowOpener.h"
#include "app/Startup.h"
#include "app/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    using namespace corvana;
    // Without a display Qt would abort with a long message; say it in one line instead.
    if (!HasGraphicalDisplay(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                             std::getenv("WAYLAND_DISPLAY"))) {
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        return 1;
    }

    QApplication app(argc, argv);
    ApplyProgramIdentity();

    AppContext context(ProgramColorFilePath());
    QtWindowOpener opener(context.puzzle, context.colors, context.dialogs, context.colorFilePath);
    frmMain window(context.puzzle, context.colors, context.dialogs, opener, context.colorFilePath);
    opener.SetParent(&window);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
