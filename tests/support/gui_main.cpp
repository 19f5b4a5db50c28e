// The main() of every GUI test program: one QApplication for all tests, on the offscreen
// platform unless the caller chose another, so the tests never need a display.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // GoogleTest takes its own flags out first; Qt sees the rest.
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
