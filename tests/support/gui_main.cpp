// The main() of every GUI test program: one QApplication for all tests, on the offscreen
// platform unless the caller chose another, so the tests never need a display.

#include <QApplication>

#include <gtest/gtest.h>

namespace {

// A warning from Qt means the program misused it (a painter restored more often than saved, a
// font of no size, a widget in two layouts): it fails the test it comes in. The offscreen
// platform's own notices are no fault of the program.
void FailOnQtWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || message.contains(QLatin1String("propagateSizeHints")) ||
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    ADD_FAILURE() << "Qt warns: " << message.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // GoogleTest takes its own flags out first; Qt sees the rest.
    ::testing::InitGoogleTest(&argc, argv);
    qInstallMessageHandler(FailOnQtWarning);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
