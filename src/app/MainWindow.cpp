#include "app/MainWindow.h"

#include "app/Pictures.h"
#include "core/Twips.h"
#include "corvana/Version.h"
#include "ui/QtUtil.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>

namespace corvana {

namespace {
constexpr ColorValue kFrameColor = 0x00400000; // dark blue
constexpr ColorValue kNameColor = 0x0000C0C0;
constexpr int kClientWidth = 5550; // twips, below the menu bar
constexpr int kClientHeight = 4710;

void Paint(QWidget* widget, ColorValue background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(background));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
} // namespace

MainWindow::MainWindow(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors, Dialogs& dialogs,
                       WindowOpener& opener, std::string colorFilePath, MainMenu::Generator generate,
                       GameStore* store, RecordsBook* records, QWidget* parent)
    : QMainWindow(parent), model_(puzzle, exitRequested, colors, dialogs, opener, std::move(colorFilePath),
                                  std::move(generate), store, records) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Main Menu"));

    client_ = new QWidget(this);
    Paint(client_, kFrameColor);
    setCentralWidget(client_);

    fraWork_ = new QFrame(client_);
    fraWork_->setObjectName(QStringLiteral("fraWork"));
    fraWork_->setFrameShape(QFrame::NoFrame);
    fraWork_->setGeometry(TwipsRect(0, 0, kWorkWidth, kWorkHeight));
    Paint(fraWork_, kFrameColor);

    lblAppName_ = new QLabel(fraWork_);
    lblAppName_->setObjectName(QStringLiteral("lblAppName"));
    lblAppName_->setGeometry(TwipsRect(120, 120, 5295, 855));
    lblAppName_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont nameFont = lblAppName_->font();
    nameFont.setBold(true);
    nameFont.setPointSize(18);
    lblAppName_->setFont(nameFont);
    QPalette namePalette = lblAppName_->palette();
    namePalette.setColor(QPalette::WindowText, ToQColor(kNameColor));
    lblAppName_->setPalette(namePalette);

    auto* image = new PuzzlePicture(fraWork_);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(TwipsRect(1026, 960, 3240, 3270));
    image->setAccessibleName(QStringLiteral("A fill-in puzzle"));

    QMenu* newPuzzle = AddMenu(nullptr, "mnuNewPuzzle", "New Puzzle");
    mnuResume_ = AddCommand(newPuzzle, "mnuResume", kResumeCaption, [this] { model_.mnuResume_Click(); });
    const auto& commands = TemplateCommands();
    QMenu* small = AddMenu(newPuzzle, "mnuSmall", "Small Puzzle");
    QMenu* normal = AddMenu(newPuzzle, "mnuNormal", "Normal Puzzle");
    QMenu* large = AddMenu(newPuzzle, "mnuLarge", "Large Puzzle");
    for (const TemplateCommand& command : commands) {
        QMenu* menu = CommandSize(command) == SizeClass::Small    ? small
                      : CommandSize(command) == SizeClass::Normal ? normal
                                                                  : large;
        const TemplateCommand* c = &command;
        AddCommand(menu, std::string(command.menuName).c_str(), std::string(command.caption).c_str(),
                   [this, c] { model_.Template_Click(*c); });
    }

    QMenu* difficulty = AddMenu(nullptr, "mnuDifficulty", "Difficulty Options");
    mnuNoShow_ =
        AddCommand(difficulty, "mnuNoShow", "Don't Show First Number", [this] { model_.mnuNoShow_Click(); });
    mnuNoShow_->setCheckable(true);
    mnuReduced_ =
        AddCommand(difficulty, "mnuReduced", "Reduced Numbers", [this] { model_.mnuReduced_Click(); });
    mnuReduced_->setCheckable(true);

    QMenu* other = AddMenu(nullptr, "mnuOther", "Other Options");
    AddCommand(other, "mnuHowToPlay", "How to Play", [this] {
        model_.mnuHowToPlay_Click();
    })->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(other, "mnuColors", "Colors", [this] { model_.mnuColors_Click(); });
    other->addSeparator()->setObjectName(QStringLiteral("mnuSpace"));
    AddCommand(other, "mnuCredits", "Credits", [this] { model_.mnuCredits_Click(); });
    // The program's own exit routine: never shown; it runs when a child window asked to end.
    QAction* exit = AddCommand(other, "mnuExit", "E&xit", [this] { model_.mnuExit_Click(); });
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    exit->setVisible(false);
    // Last in the menu, after the designed entries, so every designed entry keeps its place.
    AddCommand(other, "mnuBestTimes", "Best Times...", [this] { model_.mnuBestTimes_Click(); });

    client_->installEventFilter(this);
    // The client area below the menu bar is the designed size.
    const QRect client = TwipsRect(0, 0, kClientWidth, kClientHeight);
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    Form_Resize();
    ShowState();
}

QMenu* MainWindow::AddMenu(QMenu* parent, const char* name, const char* caption) {
    QMenu* menu = parent != nullptr ? parent->addMenu(QString::fromUtf8(caption))
                                    : menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromUtf8(name));
    menu->menuAction()->setObjectName(QString::fromUtf8(name));
    return menu;
}

QAction* MainWindow::AddCommand(QMenu* menu, const char* name, const char* caption,
                                std::function<void()> handler) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { Run(handler); });
    return action;
}

void MainWindow::Form_Load() {
    lblAppName_->setText(QString::fromUtf8(version::ProductName));
    model_.Form_Load();
    ShowState();
}

void MainWindow::Open(const StartRequest& request) {
    Run([this, request] { model_.Open(request); });
}

void MainWindow::Run(const std::function<void()>& handler) {
    // A command that opens a child window runs until the window is closed. Until then the menu
    // does nothing: the child is modal, and Qt's modality does not stop every way in (a screen
    // reader triggers menu entries directly). A refused toggle gets its check mark back.
    if (model_.Unloaded() || running_) {
        ShowState();
        return;
    }
    running_ = true;
    handler();
    running_ = false;
    ShowState();
    if (model_.Unloaded())
        close();
}

void MainWindow::ShowState() {
    mnuResume_->setEnabled(model_.ResumeEnabled());
    mnuNoShow_->setChecked(model_.NoShowChecked());
    mnuReduced_->setChecked(model_.ReducedChecked());
}

void MainWindow::Form_Resize() {
    const WorkPosition at = CentreWork(static_cast<float>(client_->width()) * 15.0f,
                                       static_cast<float>(client_->height()) * 15.0f);
    fraWork_->move(TwipsToPixels(static_cast<int>(at.left)), TwipsToPixels(static_cast<int>(at.top)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace corvana
