// Printing a real play window to PDF files, with the printer choice scripted.

#include "PlayWindowFixture.h"
#include "play/PrintSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <map>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace corvana;

namespace {

ColorScheme Defaults() {
    ColorScheme scheme;
    SetDefaultColors(scheme);
    return scheme;
}

// A play window whose printer is chosen by script: a PDF printer writing into a temporary
// folder, or nothing (a cancel). While the printer is being chosen the window is in its print
// state, so that is when it is looked at.
struct PrintWindow : corvana::test::OpenWindow, PrinterChooser {
    explicit PrintWindow(const std::string& name) : OpenWindow(name, Defaults()) {
        window->SetPrinterChooser(this);
    }

    std::unique_ptr<QPrinter> ChoosePrinter(QWidget*) override {
        ++asked;
        if (onAsk)
            onAsk();
        if (cancel)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(output);
        if (wide)
            printer->setPageSize(QPageSize(QSizeF(400, 120), QPageSize::Millimeter));
        return printer;
    }

    // Types a digit into the first few empty white squares, as a user would.
    void TypeSome() {
        for (int i = 0, typed = 0; i < puzzle.CellCount() && typed < 4; ++i)
            if (puzzle.GridPattern[At(i)] && puzzle.UserArray[At(i)] < 0) {
                typedLast = Cell(i);
                typedLast->setFocus();
                QTest::keyClick(typedLast, static_cast<Qt::Key>(Qt::Key_1 + typed++));
            }
    }
    // Prints through the File menu, as the user does.
    void Print(int kind) {
        const char* names[] = {"mnuPrintNew", "mnuPrintCurrent", "mnuPrintSolution"};
        window->findChild<QAction*>(names[kind])->trigger();
    }
    QStringList CellTexts() const {
        QStringList texts;
        for (QLineEdit* cell : window->findChildren<QLineEdit*>(QStringLiteral("txtGrid")))
            texts << cell->text();
        return texts;
    }

    QTemporaryDir dir;
    QString output = dir.filePath(QStringLiteral("page.pdf"));
    int asked = 0;
    bool cancel = false, wide = false;
    std::function<void()> onAsk;
    QLineEdit* typedLast = nullptr;
};

// Page objects in a PDF file, which starts as a PDF file does.
qsizetype PdfPages(const QString& path) {
    QFile file(path);
    const QByteArray pdf = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return pdf.startsWith("%PDF") ? pdf.count("/Type /Page") - pdf.count("/Type /Pages") : -1;
}

// Grey levels (black text on white, anti-aliased) are fine; anything saturated is not.
bool HasRedOrSchemeColour(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 40)
                return true;
        }
    return false;
}

} // namespace

// Every template, each kind of print from each size class: one page, black on white; while the
// printer is chosen the credit line is shown whole, inside fraWork and clear of the grid, the
// lists and their headings. Afterwards the window is back as it was, the focus in its cell.
TEST(PrintWindow, EveryTemplatePrintsOnePageBlackOnWhiteWithItsCreditLine) {
    std::map<SizeClass, int> printed;
    for (const auto& t : Templates()) {
        const int kind = printed[t.size]++ % 3;
        SCOPED_TRACE(std::string(t.name) + " kind " + std::to_string(kind));
        PrintWindow f(std::string(t.name));
        f.TypeSome();
        const auto before = f.CellTexts();
        QWidget* work = f.window->findChild<QWidget*>(QStringLiteral("fraWork"));
        QLabel* credit = work->findChild<QLabel*>(QStringLiteral("lblCopyright"));
        QString creditShown, typedShown;
        f.onAsk = [&] {
            creditShown = credit->isVisible() ? credit->text() : QString();
            typedShown = f.typedLast->text();
            EXPECT_LE(credit->sizeHint().width(), credit->width());
            EXPECT_LE(credit->sizeHint().height(), credit->height());
            EXPECT_GE(credit->font().pixelSize(), 10) << "small enough to fit, not too small to read";
            EXPECT_TRUE(work->rect().adjusted(2, 2, -2, -2).contains(credit->geometry()));
            for (QWidget* other : work->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(other == credit || other->isHidden() ||
                            !other->geometry().intersects(credit->geometry()))
                    << other->objectName().toStdString();
        };
        f.Print(kind);
        ASSERT_EQ(f.asked, 1);
        EXPECT_EQ(creditShown.toStdString(), "(c) " + std::string(t.name) + " by the Corvana developers");
        EXPECT_EQ(PdfPages(f.output), 1);
        EXPECT_EQ(typedShown.isEmpty(), kind == 0) << "the original has none of the user's digits";
        const QImage& image = f.window->LastPrintedImage();
        EXPECT_EQ(image.size(), f.window->centralWidget()->size() * image.devicePixelRatio());
        EXPECT_FALSE(HasRedOrSchemeColour(image)) << "no red starting digits, no scheme colours";
        EXPECT_TRUE(f.dialogs.messages.empty());
        EXPECT_EQ(f.CellTexts(), before);
        EXPECT_EQ(f.Cell(f.puzzle.StarterFirstCell)->palette().color(QPalette::Text), QColor(Qt::red));
        EXPECT_FALSE(credit->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), f.typedLast) << "the focus is back in its cell";
    }
}

// Zoomed on screen, the page is still the work area at 100 %; the screen keeps its zoom. The
// page image, as poppler draws it at 24 dots an inch, is centred across the paper.
TEST(PrintWindow, ThePageIsTheWindowAt100PercentCentredOnThePaper) {
    PrintWindow f("Normal Puzzle Five Plus");
    f.wide = true;
    f.Print(1);
    const QImage at100 = f.window->LastPrintedImage();
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "24", "-png", "-singlefile", f.output, f.output});
    const QImage page(f.output + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).lightness() < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GT(left, 20) << "the window is narrower than the page";
    EXPECT_NEAR(left, page.width() - 1 - right, 5);

    f.window->SetZoom(200);
    const QSize zoomedSize = f.window->size();
    f.Print(1);
    EXPECT_EQ(f.window->LastPrintedImage(), at100);
    EXPECT_EQ(f.window->Zoom(), 200);
    EXPECT_EQ(f.window->size(), zoomedSize);
}

// A cancel prints nothing; a folder for a file is named. A disk that fills up while the page is written
// (here: a file size limit for this process): the user is told the system's error number, and the PDF that
// was there before is neither cut off nor joined by anything.
TEST(PrintWindow, CancelPrintsNothingAndAFailingPrinterSaysWhy) {
    PrintWindow f("Normal Puzzle Plus");
    f.TypeSome();
    const auto before = f.CellTexts();
    f.cancel = true;
    f.Print(1);
    EXPECT_FALSE(QFile::exists(f.output));
    EXPECT_TRUE(f.dialogs.messages.empty());

    f.cancel = false;
    const QString page = f.output;
    f.output = f.dir.path(); // a folder: the PDF cannot be written there
    f.Print(0);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_NE(f.dialogs.messages[0].text.find(f.output.toStdString() + " is a folder, not a file."),
              std::string::npos);
    f.output = page;
    {
        QFile old(f.output);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older page");
    }
    rlimit kept{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &kept), 0);
    const auto keptSignal = std::signal(SIGXFSZ, SIG_IGN);
    f.onAsk = [&kept] {
        rlimit full = kept;
        full.rlim_cur = 2048;
        setrlimit(RLIMIT_FSIZE, &full);
    };
    f.Print(2);
    setrlimit(RLIMIT_FSIZE, &kept);
    std::signal(SIGXFSZ, keptSignal);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(f.dialogs.messages[1].text.rfind(std::to_string(EFBIG) + "\r\n", 0), 0u)
        << "the system's error number, then what went wrong: " << f.dialogs.messages[1].text;
    EXPECT_EQ(f.dialogs.messages[1].title, "Corvana");
    EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.pdf"});
    QFile old(f.output);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("an older page"));
    EXPECT_EQ(f.CellTexts(), before);
}
