// Corvana: starts the main window and runs until it closes.

#include "app/AppContext.h"
#include "app/Pictures.h"
#include "app/QtWindowOpener.h"
#include "app/Startup.h"
#include "app/frmMain.h"
#include "corvana/Version.h"

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
    QApplication::setApplicationName(QString::fromUtf8(version::ProductName));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(version::AppId));
    QApplication::setWindowIcon(ProgramIcon());

    AppContext context(ProgramColorFilePath());
    QtWindowOpener opener(context.puzzle, context.colors, context.dialogs, context.colorFilePath);
    frmMain window(context.puzzle, context.colors, context.dialogs, opener, context.colorFilePath);
    opener.SetParent(&window);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
