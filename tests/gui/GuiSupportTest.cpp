// Checks that the GUI test programs run where the other GUI tests expect: a QApplication on a
// platform that has fonts and exposes shown windows.

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

TEST(GuiSupport, ApplicationRunsOnAPlatformWithFontsAndWindows) {
    ASSERT_NE(qApp, nullptr);
    // The minimal platform has no fonts; every width check in the GUI tests would then pass
    // trivially.
    const QFontMetrics metrics(QApplication::font());
    EXPECT_GT(metrics.horizontalAdvance(QStringLiteral("Corvana")), 20);

    QLabel label(QStringLiteral("Corvana"));
    label.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&label));
    EXPECT_GT(label.sizeHint().width(), 20);
}
