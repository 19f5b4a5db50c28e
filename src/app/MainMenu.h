#pragma once

// What the main window does, without the window: start-up with the colour file, the fifteen
// template commands, the two difficulty options, opening the other windows and the exit chain.
// Qt-free. MainWindow shows this state and passes its menu commands here; the child windows are
// opened through WindowOpener, so the whole chain can run without nested event loops.

#include "app/CommandLine.h"
#include "colors/ColorScheme.h"
#include "play/GameStore.h"
#include "play/Records.h"
#include "puzzle/PuzzleState.h"
#include "puzzle/Templates.h"
#include "seam/Dialogs.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvana {

// Opens the modal children of the main window. Each call returns when the child has closed.
class WindowOpener {
public:
    virtual ~WindowOpener() = default;
    // The play form of that size class for the puzzle in the shared state; with `resume`, the
    // form is brought back to that state of play.
    virtual void ShowPlayForm(SizeClass size, const PlayRecord* resume) = 0;
    virtual void ShowHowToPlay() = 0;
    virtual void ShowColors() = 0;
    virtual void ShowCredits() = 0;
    virtual void ShowBestTimes() = 0;
};

// One template command of the "New Puzzle" menu.
struct TemplateCommand {
    std::string_view menuName;   // mnuH ... mnuFourElectrodes
    std::string_view caption;    // as shown in the menu
    std::string_view puzzleName; // stored in PuzzleName before generating
    // The message when generation fails; empty means "Error in loading " + PuzzleName.
    std::string_view loadError;
};

// The size class of a command's template, and so the play form it opens.
SizeClass CommandSize(const TemplateCommand& command);

// The fifteen template commands in menu order: Small, then Normal, then Large.
const std::vector<TemplateCommand>& TemplateCommands();
const TemplateCommand* FindTemplateCommand(std::string_view menuName);

// The program's title on its message boxes.
inline constexpr const char* kMessageTitle = "Corvana";
inline constexpr const char* kColorFileDamaged =
    "Could not load the user-defined color scheme.  You can still play the game using the default colors.";
inline constexpr const char* kColorFileStuck =
    "Could not load the user-defined color scheme.  The text file cannot be deleted.  Check the status of "
    "the text file and delete manually.";
inline constexpr const char* kColorFileStuckTitle = "Color Scheme Fatal Error";

// fraWork's size in twips, and where it goes in a client area of the given size: centred, but
// never at a negative position.
inline constexpr int kWorkWidth = 5535;
inline constexpr int kWorkHeight = 4695;
struct WorkPosition {
    float left;
    float top;
};
WorkPosition CentreWork(float clientWidth, float clientHeight);

// The caption of the first entry of the New Puzzle menu.
inline constexpr const char* kResumeCaption = "Resume Last Puzzle";

class MainMenu {
public:
    using Generator = std::function<bool(PuzzleState&, Dialogs&, std::optional<std::uint64_t> seed)>;

    // `generate` defaults to GeneratePuzzle. Without a `store` no game is kept or resumed;
    // without `records` no game is counted.
    // `exitRequested` is the program-wide exit flag: a child window that ends with it set ends the
    // main window too.
    MainMenu(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors, Dialogs& dialogs,
             WindowOpener& opener, std::string colorFilePath, Generator generate = {},
             GameStore* store = nullptr, RecordsBook* records = nullptr);

    // Start-up: resets "Don't Show First Number", sets the default colours and loads the colour
    // file; an unreadable file is deleted (or reported when it cannot be) and the defaults used.
    // Then looks for a game to resume and reads the best times; a damaged state or records
    // file is moved aside and reported.
    void Form_Load();

    // Resume Last Puzzle: reopens the kept game as it was.
    void mnuResume_Click();
    bool ResumeEnabled() const { return store_ != nullptr && store_->Resumable(); }

    // Opens what the command line asked for, as if chosen from the menu. A puzzle file that
    // cannot be used is reported, naming the file and what is wrong, and nothing else changes.
    void Open(const StartRequest& request);

    // One of the fifteen template commands, by its menu name (mnuH ...).
    void Template_Click(std::string_view menuName);
    void Template_Click(const TemplateCommand& command);

    void mnuNoShow_Click();
    void mnuReduced_Click();
    void mnuHowToPlay_Click();
    void mnuColors_Click();
    void mnuCredits_Click();
    void mnuBestTimes_Click();
    void mnuExit_Click();

    // The check marks of the two option entries.
    bool NoShowChecked() const { return noShowChecked_; }
    bool ReducedChecked() const { return reducedChecked_; }
    // True once the main window has been asked to unload, which ends the program.
    bool Unloaded() const { return unloaded_; }

    const std::string& ColorFilePath() const { return colorFilePath_; }

private:
    void CheckExit();
    void OpenCommand(const TemplateCommand& command, std::optional<std::uint64_t> seed);
    // Opens the puzzle now in the shared state, its options becoming the menu's.
    void OpenPuzzle(const PlayRecord* resume);

    PuzzleState& puzzle_;
    bool& exitRequested_;
    ColorScheme& colors_;
    Dialogs& dialogs_;
    WindowOpener& opener_;
    std::string colorFilePath_;
    Generator generate_;
    GameStore* store_;
    RecordsBook* records_;
    bool noShowChecked_ = false;
    bool reducedChecked_ = false;
    bool unloaded_ = false;
};

} // namespace corvana
