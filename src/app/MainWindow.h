#pragma once

// The main window: the product's name and picture, and the one menu from which the user picks a
// template, sets the difficulty options and opens help, colours and credits. What the commands
// do is MainMenu's; this window shows its state and closes itself when MainMenu unloads it,
// which ends the program.

#include "app/MainMenu.h"

#include <QMainWindow>

#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;

namespace corvana {

// Closing the main window always ends the program; nothing is kept or asked, so Qt's own close
// (accepted) serves.
class MainWindow : public QMainWindow {
public:
    MainWindow(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors, Dialogs& dialogs,
               WindowOpener& opener, std::string colorFilePath, MainMenu::Generator generate = {},
               GameStore* store = nullptr, RecordsBook* records = nullptr, QWidget* parent = nullptr);

    // Start-up: the product name, the options and the colour file. Run once before showing.
    void Form_Load();
    // Opens what the command line asked for, over this window.
    void Open(const StartRequest& request);
    MainMenu& Model() { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* AddMenu(QMenu* parent, const char* name, const char* caption);
    QAction* AddCommand(QMenu* menu, const char* name, const char* caption, std::function<void()> handler);
    void Run(const std::function<void()>& handler);
    void ShowState();
    void Form_Resize();

    MainMenu model_;
    QWidget* client_ = nullptr;
    QFrame* fraWork_ = nullptr;
    QLabel* lblAppName_ = nullptr;
    QAction* mnuResume_ = nullptr;
    QAction* mnuNoShow_ = nullptr;
    QAction* mnuReduced_ = nullptr;
    bool running_ = false; // a menu command (and any child window it opened) is under way
};

} // namespace corvana
