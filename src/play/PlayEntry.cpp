// Cell entry, arrow keys, AutoFill and the one-action undo history of the play form.

#include "corvana/Version.h"
#include "play/PlayForm.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace corvana {

namespace {

constexpr const char* kNoRoomMessage =
    "The number is longer than the room left on the line.  Check that the correct "
    "AutoFill direction has been selected.  Process aborted.";
constexpr const char* kBlackSquareMessage =
    "The number would cross unusuable spaces from this starting point.  Check "
    "that the correct AutoFill direction has been selected.  Process aborted.";
constexpr const char* kAcrossFilledDownMessage =
    "You selected an ACROSS value.  This is not meant to be filled down.";
constexpr const char* kDownFilledAcrossMessage =
    "You selected a DOWN value.  This is not meant to be filled across.";

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

bool IsDigitKey(int key) {
    return (key >= vk::Digit0 && key <= vk::Digit0 + 9) || (key >= vk::Numpad0 && key <= vk::Numpad0 + 9);
}

int KeyDigit(int key) {
    return key >= vk::Numpad0 ? key - vk::Numpad0 : key - vk::Digit0;
}

} // namespace

bool IsValidGridKey(int keyCode) {
    return GridKeyOf(keyCode).has_value();
}

std::optional<GridKey> GridKeyOf(int keyCode) {
    using K = GridKey::Kind;
    if (IsDigitKey(keyCode))
        return GridKey{K::Digit, KeyDigit(keyCode)};
    switch (keyCode) {
    case vk::Back:
        return GridKey{K::Back};
    case vk::Delete:
        return GridKey{K::Delete};
    case vk::Left:
        return GridKey{K::Left};
    case vk::Up:
        return GridKey{K::Up};
    case vk::Right:
        return GridKey{K::Right};
    case vk::Down:
        return GridKey{K::Down};
    default:
        return std::nullopt;
    }
}

bool PlayForm::IsCell(int index) const {
    return index >= 0 && index < config_.CellCount() && At(index) < cells_.size() &&
           At(index) < puzzle_.UserArray.size() && At(index) < puzzle_.SolutionArray.size() &&
           At(index) < puzzle_.GridPattern.size();
}

bool PlayForm::InStarter(int index) const {
    return index >= puzzle_.StarterFirstCell && index <= puzzle_.StarterLastCell;
}

void PlayForm::RecordSingleUndo(int GridNo, int OldValue, int NewValue) {
    undo_.Record({UndoStep{GridNo, OldValue, NewValue}});
    UpdateUndo();
}

void PlayForm::RestoreFillBackground(int index) {
    if (IsCell(index))
        cells_[At(index)].back = puzzle_.GridPattern[At(index)] ? kWhite : kBlack;
}

void PlayForm::txtGrid_KeyDown(int index, int& KeyCode, int& Shift) {
    // A disabled cell (the solution view) takes no keys, as on screen.
    const std::optional<GridKey> key = GridKeyOf(KeyCode);
    if (!key || !IsCell(index) || !cells_[At(index)].enabled) {
        KeyCode = 0;
        Shift = 0;
        return;
    }
    const int w = Width();
    // A black square never holds a digit: only an arrow key leads away from one.
    if (!puzzle_.GridPattern[At(index)] && !key->IsArrow()) {
        KeyCode = 0;
        Shift = 0;
        return;
    }

    if (key->IsArrow()) {
        int target = index;
        switch (key->kind) {
        case GridKey::Kind::Left:
            target = index - 1;
            break;
        case GridKey::Kind::Up:
            target = index - w;
            break;
        case GridKey::Kind::Right:
            target = index + 1;
            break;
        default:
            target = index + w;
            break;
        }
        // Black squares are passed over in the key's direction; with no white square there the
        // focus stays.
        const int step = target - index;
        while (target >= 0 && target < config_.CellCount() && !puzzle_.GridPattern[At(target)])
            target += step;
        if (target >= 0 && target < config_.CellCount())
            host_.SetFocusCell(target);
        // Moving records nothing, so the previous action stays undoable.
        return;
    }

    const int OldValue = puzzle_.UserArray[At(index)];
    GridCell& cell = cells_[At(index)];
    // Inside the shown starting number the colour tells whether the digit is right.
    if (!StarterHidden_ && InStarter(index))
        cell.fore = key->kind == GridKey::Kind::Digit && key->digit == puzzle_.SolutionArray[At(index)]
                        ? kRed
                        : kBlack;

    if (key->kind == GridKey::Kind::Digit) {
        const int NewValue = key->digit;
        SetCellText(index, std::to_string(NewValue));
        RecordSingleUndo(index, OldValue, NewValue);
        CheckSolved();
    } else if (key->kind == GridKey::Kind::Back) {
        SetCellText(index, "");
        RecordSingleUndo(index, OldValue, -1);
    } else {
        // Delete: the window never lets a cell edit itself, so the digit goes here. Like an
        // arrow key it leaves the undo history as it was.
        SetCellText(index, "");
    }
}

void PlayForm::txtGrid_KeyPress(int /*index*/, int& KeyAscii) {
    KeyAscii = 0;
}

void PlayForm::txtGrid_KeyUp(int /*index*/, int& KeyCode, int& Shift) {
    KeyCode = 0;
    Shift = 0;
}

void PlayForm::txtGrid_MouseDown(int index) {
    if (!IsCell(index) || !cells_[At(index)].enabled)
        return;

    if (index != fill_.First()) {
        if (!fill_.HasFirst()) {
            if (!puzzle_.GridPattern[At(index)])
                return;
            fill_.PickFirst(index);
        } else {
            fill_.PickSecond(index);
        }
        cells_[At(index)].back = kBlue;
    } else {
        RestoreFillBackground(index);
        fill_.Clear();
    }

    if (!fill_.Complete())
        return;

    if (fill_.Second() < fill_.First()) {
        RestoreFillBackground(fill_.First());
        RestoreFillBackground(fill_.Second());
        fill_.Clear();
        return;
    }

    fillDirection_ = fill_.Direction(Width());
    RestoreFillBackground(fill_.First());
    RestoreFillBackground(fill_.Second());
    const bool filled = AutoFillFromBuffer(fill_.First());
    if (filled)
        SetBuffer("");
    fill_.Clear();
    if (filled)
        CheckSolved();
}

bool PlayForm::AutoFillFromBuffer(int StartPos) {
    if (BufferText_.empty())
        return false;
    const bool down = fillDirection_ == FillDirection::Down;
    const int L = static_cast<int>(BufferText_.size()) - 1;
    if (L == 0)
        return false;

    if (config_.separateLists) {
        if (down && BufferFromAcross_) {
            dialogs_.MessageBox(kAcrossFilledDownMessage, version::Title, Buttons::Ok, Icon::None);
            return false;
        }
        if (!down && !BufferFromAcross_) {
            dialogs_.MessageBox(kDownFilledAcrossMessage, version::Title, Buttons::Ok, Icon::None);
            return false;
        }
    }

    // The buffer only ever holds a list caption; anything else is not written into a cell.
    if (!IsCell(StartPos))
        return false;
    for (const char c : BufferText_)
        if (c < '0' || c > '9')
            return false;

    const int w = Width();
    const int Step = down ? w : 1;
    const int EndPos = StartPos + Step * L;
    const int limit = down ? StartPos % w + w * (w - 1) : StartPos / w * w + w - 1;
    if (EndPos > limit || !IsCell(EndPos)) {
        dialogs_.MessageBox(kNoRoomMessage, version::Title, Buttons::Ok, Icon::None);
        return false;
    }

    for (int cell = StartPos; cell <= EndPos; cell += Step) {
        if (!puzzle_.GridPattern[At(cell)]) {
            dialogs_.MessageBox(kBlackSquareMessage, version::Title, Buttons::Ok, Icon::None);
            return false;
        }
    }

    bool conflict = false;
    for (int cell = StartPos, k = 0; cell <= EndPos; cell += Step, ++k) {
        const std::string& text = cells_[At(cell)].text;
        if (!text.empty() && text != std::string(1, BufferText_[At(k)]))
            conflict = true;
    }
    if (conflict) {
        const Answer answer = dialogs_.MessageBox(
            "One or more numbers that exist in the squares that you are filling with " + BufferText_ +
                " conflict.  This could invalidate some entered values.  Do you want to overwrite?",
            "Confirm Overwrite", Buttons::YesNo, Icon::None);
        if (answer != Answer::Yes)
            return false;
    }

    std::vector<int> cells;
    for (int cell = StartPos; cell <= EndPos; cell += Step)
        cells.push_back(cell);
    WriteNumber(BufferText_, cells);
    return true;
}

void PlayForm::WriteNumber(const std::string& number, const std::vector<int>& cells) {
    std::vector<UndoStep> history;
    for (std::size_t k = 0; k < cells.size() && k < number.size(); ++k) {
        const int cell = cells[k];
        const int digit = number[k] - '0';
        history.push_back({cell, puzzle_.UserArray[At(cell)], digit});
        // A digit written over the shown starting number is coloured as if typed: red only
        // when it is the right one.
        if (!StarterHidden_ && InStarter(cell))
            cells_[At(cell)].fore = digit == puzzle_.SolutionArray[At(cell)] ? kRed : kBlack;
        SetCellText(cell, std::string(1, number[k]));
    }
    undo_.Record(std::move(history));
    UpdateUndo();
}

void PlayForm::mnuUndo_Click() {
    // The entry is disabled in the solution view and when there is nothing to undo.
    if (!undoEnabled_)
        return;

    if (undo_.Count() > 0) {
        const std::size_t records = undo_.Steps().size();
        std::string filled;
        std::vector<int> cellsWritten;
        for (const auto& step : undo_.Steps()) {
            // A record that cannot be read, or points outside the grid, restores nothing.
            if (!step)
                continue;
            const int GridNo = step->cell;
            const int OldValue = step->oldValue;
            const int NewValue = step->newValue;
            if (!IsCell(GridNo) || OldValue < -1 || OldValue > 9 || NewValue < -1 || NewValue > 9)
                continue;
            if (OldValue == -1) {
                SetCellText(GridNo, "");
            } else {
                cells_[At(GridNo)].fore =
                    OldValue == puzzle_.SolutionArray[At(GridNo)] && InStarter(GridNo) && !StarterHidden_
                        ? kRed
                        : kBlack;
                SetCellText(GridNo, std::to_string(OldValue));
            }
            filled += std::to_string(NewValue);
            cellsWritten.push_back(GridNo);
        }

        const int digits = static_cast<int>(records);
        bool hasList = false;
        for (const int length : config_.lengths)
            hasList = hasList || length == digits;
        if (hasList) {
            bool down = false;
            if (config_.separateLists) {
                // The records tell which way the number went, so which list it came from; the
                // buffer's flag may since have been changed by a click in the other list.
                if (cellsWritten.size() >= 2)
                    down = cellsWritten[1] - cellsWritten[0] == Width();
                else
                    down = !BufferFromAcross_;
            }
            const int listCount = ListCount(digits, down);
            for (int j = 0; j < listCount; ++j) {
                const int id = FindBox(digits, down, j);
                if (id < 0 || boxes_[At(id)].caption != filled)
                    continue;
                if (boxes_[At(id)].value == 1)
                    SetBoxValue(id, 0);
                break;
            }
            SetBuffer("");
        }
    }

    ClearUndo();
}

} // namespace corvana
