#pragma once

// The model of one open play form: its cells, number lists, labels, menu captions and the
// form-level state of play. Qt-free. The Qt window (PlayWindow) shows exactly what is here and
// passes the user's keys, clicks and menu commands to the handlers below; it keeps no game
// state of its own. One class serves all three size classes through its FormConfig.

#include "colors/ColorScheme.h"
#include "play/FillSelection.h"
#include "play/FormConfig.h"
#include "play/GameClock.h"
#include "play/Records.h"
#include "play/UndoHistory.h"
#include "puzzle/PuzzleState.h"
#include "seam/Dialogs.h"
#include "solver/Rules.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvana {

// Virtual-key codes the grid understands.
namespace vk {
inline constexpr int Back = 8;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;  // top row 48 to 57
inline constexpr int Numpad0 = 96; // keypad 96 to 105
} // namespace vk

bool IsValidGridKey(int keyCode);

// A key the grid understands, read from its virtual-key code by GridKeyOf.
struct GridKey {
    enum class Kind { Digit, Back, Delete, Left, Up, Right, Down };
    Kind kind = Kind::Digit;
    int digit = 0; // for Digit
    bool IsArrow() const {
        return kind == Kind::Left || kind == Kind::Up || kind == Kind::Right || kind == Kind::Down;
    }
};
std::optional<GridKey> GridKeyOf(int keyCode);

// One grid cell (a text box).
struct GridCell {
    std::string text; // "" or one digit
    ColorValue fore = kBlack;
    ColorValue back = kWhite;
    bool enabled = true;
    bool wrong = false; // marked by Check: the window strokes it through as well as tinting it
};

// One check box of a number list.
struct ListBox {
    int digits = 0;
    bool down = false; // a DOWN list of the Large form
    int index = 0;     // element index in its control array
    std::string caption;
    int value = 0; // 0 clear, 1 ticked
    ColorValue fore = kBlack;
    ColorValue back = kWhite;
    bool visible = false;
    int left = 0;
    int top = 0;
    // The user's own tick, kept aside while the solution view or a print shows another; none
    // while the box shows the user's.
    std::optional<bool> keptTick;

    std::string Name() const; // chkNNumbers or chkNNumbersDown
};

// What a label is for; the Large form's ACROSS and DOWN headings take the primary colour and a
// heading font, the credit line shows only on paper.
enum class LabelRole { Digits, Across, Down, Copyright };

// A label: the headings lblNDigits, on the Large form lblAcross and lblDown, and lblCopyright.
struct FormLabel {
    std::string name;
    LabelRole role = LabelRole::Digits;
    std::string caption;
    int digits = 0; // N for lblNDigits, else 0
    int left = 0;
    int top = 0;
    bool visible = false;
    ColorValue fore = kBlack;
    ColorValue back = kWhite;
};

// A frame: fraWork and fraUserGrid.
struct FormFrame {
    std::string name;
    std::string caption;
    ColorValue fore = kBlack;
    ColorValue back = kWhite;
};

// What File > Print puts on paper: the puzzle as it was dealt, the user's grid, the solution.
enum class PrintKind { Original, Current, Solution };

struct PrintResult {
    enum class Outcome { Printed, Cancelled, Failed };
    Outcome outcome = Outcome::Cancelled;
    std::string error;   // for Failed: what went wrong, in the platform's words
    int errorNumber = 0; // for Failed: the system's error number, when the system gave one
};

// What only the window can do. The Qt window implements it; tests script it.
class PlayHost {
public:
    virtual ~PlayHost() = default;
    // Shows How to Play modally and returns when it is closed.
    virtual void ShowHelp() = 0;
    // Closes the play window (Return To Main, Exit).
    virtual void Unload() = 0;
    // Moves the keyboard focus to a cell.
    virtual void SetFocusCell(int cell) = 0;
    // Asks for a printer and prints the window's client area exactly as the model now shows it.
    virtual PrintResult PrintWindow() = 0;
    // Keeps the game as it stands now, before a message that waits for the user.
    virtual void KeepGame() {}
};

// What a play form keeps of a game beyond the puzzle and its user grid, so that the game can
// be taken up again exactly as it was.
struct PlayRecord {
    struct Tick {
        int digits = 0;
        bool down = false;
        int index = 0;
        bool operator==(const Tick& o) const {
            return digits == o.digits && down == o.down && index == o.index;
        }
    };
    std::vector<Tick> ticks; // the user's ticks (also while the solution view shows every box ticked)
    std::string buffer;
    bool bufferFromAcross = false;
    std::vector<std::string> undo{"0"};
    bool starterHidden = false;
    bool solutionShown = false;
    std::int64_t secondsSpent = 0;
    bool solvedNoticeShown = false;
    // Help taken: Hint, Check, the solution or a hidden starting number shown. The counts are
    // of the Hint and Check commands; checkMarks the squares the last Check marked that have
    // not changed since.
    bool assisted = false;
    int hints = 0;
    int checks = 0;
    std::vector<int> checkMarks;
};

// The solved notice, naming the puzzle and the time spent on it; an assisted game adds how many
// hints and checks it took, and a time among the best its place (see Records::Solved; 0: none).
std::string SolvedMessage(const std::string& puzzleName, std::int64_t seconds, bool assisted = false,
                          int hints = 0, int checks = 0, int place = 0);
// "45 seconds", "12 minutes 5 seconds", "1 hour 3 minutes".
std::string SpentText(std::int64_t seconds);

// The puzzle as the user sees it (the starting number in place unless hidden) and the user
// grid's digits (-1 for an empty or black square); solved is any fill of the first that the
// second holds, not only the generated one.
FillIn PuzzleAsShown(const PuzzleState& puzzle, bool starterHidden);
std::vector<int> UserDigits(const PuzzleState& puzzle);
bool GameSolved(const PuzzleState& puzzle, bool starterHidden);

class PlayForm {
public:
    // Seconds on a steady clock; the time spent on a puzzle is measured with it.
    using Clock = GameClock::Reading;

    // `exitRequested` is the program-wide exit flag: Exit sets it, and the form closes itself
    // when it finds it set after Help returns.
    PlayForm(const FormConfig& config, PuzzleState& puzzle, bool& exitRequested, const ColorScheme& colors,
             Dialogs& dialogs, PlayHost& host);

    // Lifecycle and display.
    void Form_Load();
    void LoadPuzzle(bool LoadChkBoxes);
    bool LoadGridPattern();
    bool LoadTextGrid(const std::vector<std::int16_t>& PassedArray, bool EnableGrid);
    void ShowStarterRed(int StartNo, int EndNo);
    bool FindGivenLabel(int StartNo, int EndNo);
    // Where fraWork goes in a window of this outer size (twips): centred, never negative.
    TwipPoint Form_Resize(int windowWidth, int windowHeight) const;

    // Number lists and the buffer.
    bool CreateLabels(const std::string& Puzzle, bool LoadBoxes);
    void ResetCheckBoxes();
    void GetObjectColors(ListBox& box);
    void GetObjectColors(FormLabel& label);
    // A user's click on box `id` (index into Boxes()): toggles it, then runs its click handling.
    void BoxClick(int id);
    // Sets a box's tick from code; runs the click handling when the value changes.
    void SetBoxValue(int id, int value);

    // Cell entry. Key code and shift are in-out: setting both to 0 discards the key.
    void txtGrid_KeyDown(int index, int& KeyCode, int& Shift);
    void txtGrid_KeyPress(int index, int& KeyAscii);
    void txtGrid_KeyUp(int index, int& KeyCode, int& Shift);
    // Every change of a cell's text goes through here (SetCellText); mirrors into UserArray.
    void txtGrid_Change(int index);
    void SetCellText(int index, const std::string& text);

    // AutoFill.
    void txtGrid_MouseDown(int index);
    bool AutoFillFromBuffer(int StartPos);

    // Undo.
    void UpdateUndo();
    // Reads one "cell,old,new" record; a record that cannot be read leaves the three alone.
    static void BreakDownUndoArray(const std::string& UndoString, int& GridNo, int& OldValue, int& NewValue);
    void mnuUndo_Click();

    // Solution view, restart, starting number.
    bool SaveUserArray();
    void mnuSolution_Click();
    void RestartGame();
    void mnuShowStartingNumber_Click();

    // Help on demand. Hint places one number the rules find next, as AutoFill writes it, and
    // says why; Check marks the filled squares no solution has. Both answer in StatusText.
    void mnuHint_Click();
    void mnuCheck_Click();

    // Printing.
    void PrintPuzzle(PrintKind PrintNo);
    void RestoreColorsAndChecks(PrintKind PrintNo);
    void SetPrintColors();
    // The credit line shown on paper only.
    std::string CopyrightLine() const;

    // Keeping the game. CapturePlay is what the form holds now; RestorePlay, right after
    // Form_Load on the same puzzle and user grid, brings the form back to a captured state.
    PlayRecord CapturePlay() const;
    void RestorePlay(const PlayRecord& record);
    void SetClock(Clock clock);
    // Whole seconds spent on this puzzle, in this window and before. The time stands still from
    // the solved notice on, and while the clock is paused (the window minimised): nobody is
    // solving then.
    std::int64_t SecondsSpent() const;
    // The same to the fraction of a second, for a clock to tick when the next whole second is due.
    double TimeSpent() const;
    void PauseClock();
    void ResumeClock();
    bool ClockRunning() const { return clock_.Running(); }
    bool SolvedNoticeShown() const { return clock_.Finished(); }
    // The user grid holds a solution of the puzzle as shown.
    bool GridSolved() const;
    bool Assisted() const { return assisted_; }
    int HintsUsed() const { return hints_; }
    int ChecksUsed() const { return checks_; }

    // The status bar: the seed and options the puzzle can be made again with ("seed 21, Reduced
    // Numbers"), its grade as shown when it was laid out ("Grade: Medium"), and the last hint's or
    // check's answer.
    std::string PuzzleText() const;
    const std::string& GradeText() const { return gradeText_; }
    const std::string& StatusText() const { return statusText_; }
    // Where games started (New Game, Restart Game) and solved are counted (none: nowhere). The
    // opening of the form is counted by whoever opens it, since only it knows a resumed game.
    void SetRecords(RecordsSink* records) { records_ = records; }

    // File menu.
    void mnuNewPuzzle_Click();
    void mnuHelp_Click();
    void mnuReturnToMain_Click();
    void mnuExit_Click();

    // What the window shows.
    const FormConfig& Config() const { return config_; }
    const PuzzleState& Puzzle() const { return puzzle_; }
    const std::string& Caption() const { return caption_; }
    ColorValue FormBackColor() const { return formBack_; }
    const std::vector<GridCell>& Cells() const { return cells_; }
    const std::vector<ListBox>& Boxes() const { return boxes_; } // in the form's control order
    const std::vector<FormLabel>& Labels() const { return labels_; }
    const FormFrame& WorkFrame() const { return work_; }
    const FormFrame& UserGridFrame() const { return userGrid_; }
    const std::string& UndoCaption() const { return undoCaption_; }
    bool UndoEnabled() const { return undoEnabled_; }
    const std::string& BufferCaption() const { return bufferCaption_; }
    bool ShowStartingNumberVisible() const { return showStartingNumberVisible_; }
    // The box of list (digits, down) with element index `index`, or -1.
    int FindBox(int digits, bool down, int index) const;
    // Number of boxes a list shows (its NumbersN / NumbersNDown count).
    int ListCount(int digits, bool down) const;

    // Form-level state, readable for tests and the window.
    const std::string& BufferText() const { return BufferText_; }
    bool BufferFromAcross() const { return BufferFromAcross_; }
    bool AutoFillDown() const { return fillDirection_ == FillDirection::Down; }
    int FillStartCell() const { return fill_.First(); }
    int FillSecondCell() const { return fill_.Second(); }
    bool StarterHidden() const { return StarterHidden_; }
    bool TrackEntries() const { return TrackEntries_; }
    bool SolutionShown() const { return SolutionShown_; }
    // The undo history in its text form: the step count, then "cell,old,new" per step.
    std::vector<std::string> UndoArray() const { return undo_.ToText(); }
    const UndoHistory& Undo() const { return undo_; }

private:
    void BoxClicked(ListBox& box);
    void SetBuffer(const std::string& text);
    // The Primary colour for a list of one of the template's primary lengths, else the Secondary.
    ColorValue ListColor(const TemplateRecord& record, int digits) const;
    void ShowLoadError();
    void BlackenStarter();
    int Width() const { return config_.width; }

    // Cell entry, AutoFill, Undo and the solution view.
    bool IsCell(int index) const;
    void RecordSingleUndo(int GridNo, int OldValue, int NewValue);
    void ClearUndo();
    void RestoreFillBackground(int index);
    bool InStarter(int index) const;
    int StarterBox() const; // the box FindGivenLabel ticks, or -1
    // Shows the solved notice when the user's own entries have just completed the grid.
    void CheckSolved();
    // PuzzleAsShown and UserDigits of this form's puzzle now.
    FillIn ShownNow() const;
    std::vector<int> UserGrid() const;
    // Writes `number` into `cells` as one undoable step: AutoFill's and Hint's one way to write.
    void WriteNumber(const std::string& number, const std::vector<int>& cells);
    // Writes a hint's number into its squares and ticks it, as AutoFill and a click would.
    void PlaceNumber(const std::string& number, const std::vector<int>& cells, bool down);
    // Check's marks on the cells: never on the solution or on paper.
    void ShowMarks();
    // Printing: what the user has is kept aside while the form is made into the page.
    class KeptForPrint;
    // False for no kind of print: nothing goes to the printer then.
    bool PreparePage(PrintKind kind, const std::string& userBuffer);
    // Prints the page and tells the user when the printer failed.
    void PrintPage();

    const FormConfig& config_;
    PuzzleState& puzzle_;
    bool& exitRequested_;
    const ColorScheme& colors_;
    Dialogs& dialogs_;
    PlayHost& host_;

    std::string caption_;
    ColorValue formBack_ = kWhite;
    std::vector<GridCell> cells_;
    std::vector<ListBox> boxes_;
    std::vector<FormLabel> labels_;
    FormFrame work_;
    FormFrame userGrid_;
    std::string undoCaption_ = "Undo";
    bool undoEnabled_ = false;
    std::string bufferCaption_;
    bool showStartingNumberVisible_ = false;

    std::string BufferText_;
    bool BufferFromAcross_ = false;
    FillSelection fill_;
    FillDirection fillDirection_ = FillDirection::Across; // of the last fill
    bool StarterHidden_ = false;
    bool TrackEntries_ = false;
    bool SolutionShown_ = false;
    UndoHistory undo_;

    // The time spent; finished once the solved notice has been shown.
    GameClock clock_;

    bool assisted_ = false;
    int hints_ = 0;
    int checks_ = 0;
    std::vector<bool> wrongMarks_;
    bool printing_ = false;
    std::string gradeText_;
    std::string grade_; // as in gradeText_, for the best times' category
    std::string statusText_;
    RecordsSink* records_ = nullptr;
};

} // namespace corvana
