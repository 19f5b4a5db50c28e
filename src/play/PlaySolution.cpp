// The solution view, restart and the starting-number check of the play form.

#include "corvana/Version.h"
#include "play/PlayForm.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace corvana {

namespace {

constexpr const char* kSaveFailedMessage =
    "Could not save the user's current work.  Solution cannot be shown.";
constexpr const char* kWrongStarterMessage =
    "The program detected that one or more of the digits that comprises the starting number was "
    "incorrect.  Please check your work as it may be incorrect.";

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

// The number a cell shows, -1 for an empty cell; false for text that is no 16-bit number.
bool CellValue(const std::string& text, int& value) {
    if (text.empty()) {
        value = -1;
        return true;
    }
    int parsed = 0;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, parsed);
    if (ec != std::errc() || ptr != last || parsed < std::numeric_limits<std::int16_t>::min() ||
        parsed > std::numeric_limits<std::int16_t>::max())
        return false;
    value = parsed;
    return true;
}

} // namespace

int PlayForm::StarterBox() const {
    std::string starter;
    for (int i = puzzle_.StarterFirstCell; i <= puzzle_.StarterLastCell; ++i) {
        if (!IsCell(i))
            return -1;
        starter += std::to_string(puzzle_.SolutionArray[At(i)]);
    }
    // The order FindGivenLabel searches in: across lists before down lists.
    for (const bool down : {false, true})
        for (std::size_t id = 0; id < boxes_.size(); ++id)
            if (boxes_[id].down == down && boxes_[id].caption == starter)
                return static_cast<int>(id);
    return -1;
}

bool PlayForm::SaveUserArray() {
    std::vector<std::int16_t>& user = puzzle_.UserArray;
    for (std::size_t i = 0; i < user.size(); ++i) {
        int value = -1;
        if (i >= cells_.size() || !CellValue(cells_[i].text, value))
            return false;
        user[i] = static_cast<std::int16_t>(value);
    }
    return true;
}

void PlayForm::mnuSolution_Click() {
    const std::string keptBuffer = BufferText_;
    const bool keptFromAcross = BufferFromAcross_;
    dialogs_.SetBusy(true);
    TrackEntries_ = false;

    if (!SolutionShown_) {
        if (!SaveUserArray()) {
            dialogs_.SetBusy(false);
            dialogs_.MessageBox(kSaveFailedMessage, version::Title, Buttons::Ok, Icon::None);
            SetBuffer(keptBuffer);
            BufferFromAcross_ = keptFromAcross;
            TrackEntries_ = true;
            return;
        }
        LoadTextGrid(puzzle_.SolutionArray, false);
        if (!StarterHidden_)
            ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        userGrid_.caption = "Solution Grid";
        assisted_ = true;
        // The user's ticks wait in keptTick while every number shows ticked.
        for (std::size_t id = 0; id < boxes_.size(); ++id) {
            const bool ticked = boxes_[id].value == 1 || boxes_[id].keptTick == true;
            SetBoxValue(static_cast<int>(id), 1);
            boxes_[id].keptTick = ticked;
        }
        undoEnabled_ = false;
    } else {
        LoadTextGrid(puzzle_.UserArray, true);
        // The grid leaves a digit typed into a black square out; so must the user grid, or it
        // would no longer be what the cells show.
        SaveUserArray();
        if (!StarterHidden_)
            ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        userGrid_.caption = "User Grid";
        for (std::size_t id = 0; id < boxes_.size(); ++id) {
            SetBoxValue(static_cast<int>(id), boxes_[id].keptTick == true ? 1 : 0);
            boxes_[id].keptTick.reset();
        }
        UpdateUndo();
    }

    TrackEntries_ = true;
    SolutionShown_ = !SolutionShown_;
    dialogs_.SetBusy(false);
    // The ticking above ran the list clicks, which rewrote the buffer.
    SetBuffer(keptBuffer);
    BufferFromAcross_ = keptFromAcross;
    ShowMarks();
}

void PlayForm::RestartGame() {
    if (records_ != nullptr)
        records_->GameStarted(puzzle_.PuzzleName);
    for (std::size_t id = 0; id < boxes_.size(); ++id) {
        if (boxes_[id].value == 1) {
            SetBoxValue(static_cast<int>(id), 0);
            boxes_[id].keptTick.reset();
        }
    }
    if (!StarterHidden_) {
        FindGivenLabel(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        // In the solution view the ticks the user grid gets back are those kept aside.
        // Every other box was cleared above, so a ticked box is the starting number's.
        if (SolutionShown_)
            for (ListBox& box : boxes_)
                if (box.value == 1)
                    box.keptTick = true;
    }

    for (int i = 0; i < config_.CellCount(); ++i) {
        if (!IsCell(i))
            break;
        if (!InStarter(i) || StarterHidden_) {
            // Red is kept for a shown starting number; on a hidden one it would mark any digit
            // the user types there as right.
            cells_[At(i)].fore = kBlack;
            SetCellText(i, "");
        } else {
            cells_[At(i)].fore = kRed;
            SetCellText(i, std::to_string(puzzle_.SolutionArray[At(i)]));
            // In the solution view the cell showed this digit already, so no change reached
            // the user grid; the user's own digit must not outlive the restart.
            txtGrid_Change(i);
        }
    }
}

void PlayForm::mnuShowStartingNumber_Click() {
    // Only a hidden starting number can be revealed (the entry is visible only then); doing it
    // again would overwrite the user's digits there without a word.
    if (!StarterHidden_)
        return;
    StarterHidden_ = false;
    assisted_ = true;

    bool wrong = false;
    for (int i = puzzle_.StarterFirstCell; i <= puzzle_.StarterLastCell; ++i) {
        if (!IsCell(i))
            continue;
        // In the solution view the cells show the solution; the user's digits are in UserArray.
        int user = -1;
        if (SolutionShown_)
            user = puzzle_.UserArray[At(i)];
        else
            CellValue(cells_[At(i)].text, user); // a square that holds no number leaves it -1
        if (user != -1 && user != puzzle_.SolutionArray[At(i)])
            wrong = true;
        SetCellText(i, std::to_string(puzzle_.SolutionArray[At(i)]));
        txtGrid_Change(i); // as in RestartGame: the solution view showed this digit already
    }

    // An action recorded before touches the starting number: undoing it would take revealed
    // digits away again, and the reveal cannot be repeated. So it is no longer undoable.
    for (const auto& step : undo_.Steps()) {
        if (step && InStarter(step->cell)) {
            ClearUndo();
            break;
        }
    }

    ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
    FindGivenLabel(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
    if (SolutionShown_) {
        const int box = StarterBox();
        if (box >= 0)
            boxes_[At(box)].keptTick = true;
    }
    showStartingNumberVisible_ = false;

    if (wrong)
        dialogs_.MessageBox(kWrongStarterMessage, version::ProductName, Buttons::Ok, Icon::None);
}

} // namespace corvana
