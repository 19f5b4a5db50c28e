#include "play/PlayForm.h"

#include "corvana/Version.h"
#include "puzzle/GeneratePuzzle.h"
#include "solver/Rules.h"

#include <algorithm>
#include <exception>

namespace corvana {

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

} // namespace

std::string ListBox::Name() const {
    return "chk" + std::to_string(digits) + (down ? "NumbersDown" : "Numbers");
}

PlayForm::PlayForm(const FormConfig& config, PuzzleState& puzzle, bool& exitRequested,
                   const ColorScheme& colors, Dialogs& dialogs, PlayHost& host)
    : config_(config), puzzle_(puzzle), exitRequested_(exitRequested), colors_(colors), dialogs_(dialogs),
      host_(host) {
    cells_.resize(At(config_.CellCount()));
    // The designed controls: element 0 of every list (across lists first, then the Large form's
    // down lists), the headings and the credit line. Boxes created at run time follow them in
    // the control order, as they are created.
    for (const bool down : {false, true}) {
        if (down && !config_.separateLists)
            break;
        for (const int n : config_.lengths) {
            ListBox box;
            box.digits = n;
            box.down = down;
            boxes_.push_back(box);
        }
    }
    for (const int n : config_.lengths) {
        FormLabel label;
        label.name = "lbl" + std::to_string(n) + "Digits";
        label.role = LabelRole::Digits;
        label.caption = std::to_string(n) + " Digits:";
        label.digits = n;
        labels_.push_back(label);
    }
    if (config_.separateLists) {
        labels_.push_back({"lblAcross", LabelRole::Across, "ACROSS", 0, 1560, 0, false, kBlack, kWhite});
        labels_.push_back({"lblDown", LabelRole::Down, "DOWN", 0, 1560, 3720, false, kBlack, kWhite});
    }
    labels_.push_back({"lblCopyright", LabelRole::Copyright, "", 0, config_.copyright.left,
                       config_.copyright.top, false, kBlack, kWhite});
    work_ = {"fraWork", "", kBlack, kWhite};
    userGrid_ = {"fraUserGrid", "User Grid", kBlack, kWhite};
}

void PlayForm::Form_Load() {
    for (auto& box : boxes_)
        if (!box.down && box.index == 0)
            box.caption.clear();
    LoadPuzzle(true);
}

void PlayForm::ShowLoadError() {
    dialogs_.MessageBox("Error in loading " + puzzle_.PuzzleName, version::Title, Buttons::Ok, Icon::None);
}

void PlayForm::LoadPuzzle(bool LoadChkBoxes) {
    // A puzzle laid out afresh is a new game: its time starts now and it has not been solved.
    clock_.Start(0, false);
    assisted_ = false;
    hints_ = 0;
    checks_ = 0;
    statusText_.clear();
    gradeText_.clear();
    wrongMarks_.assign(cells_.size(), false);
    ShowMarks();
    try {
        SolutionShown_ = false;
        // A new puzzle always starts in the user's grid, so the frame must say so even when the
        // solution was shown a moment ago.
        userGrid_.caption = "User Grid";
        // Ticks kept aside by the solution view belong to the puzzle that is going.
        for (auto& box : boxes_)
            box.keptTick.reset();
        caption_ = puzzle_.PuzzleName;
        const auto k = At(config_.ColorIndex());
        formBack_ = colors_.BackgroundColor[k];
        work_.back = colors_.BackgroundColor[k];
        userGrid_.back = colors_.BackgroundColor[k];
        userGrid_.fore = colors_.PrimaryColor[k];
        StarterHidden_ = puzzle_.NoShowFirst;
        showStartingNumberVisible_ = StarterHidden_;
        TrackEntries_ = true;
        if (!LoadGridPattern() || !LoadTextGrid(puzzle_.UserArray, true) ||
            !CreateLabels(puzzle_.PuzzleName, LoadChkBoxes)) {
            ShowLoadError();
            return;
        }
        if (!StarterHidden_) {
            ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
            FindGivenLabel(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        }
        // Ticking the starting number's box above filled the buffer; a fresh puzzle starts empty.
        SetBuffer("");
        fill_.Clear();
        ClearUndo();
        grade_ = GradeName(GradePuzzle(ShownNow()));
        gradeText_ = "Grade: " + grade_;
    } catch (const std::exception&) {
        ShowLoadError();
    }
}

bool PlayForm::LoadGridPattern() {
    // A grid of another size class cannot be shown on this form.
    if (puzzle_.CellCount() != config_.CellCount())
        return false;
    for (std::size_t i = 0; i < puzzle_.GridPattern.size(); ++i)
        cells_[i].back = puzzle_.GridPattern[i] ? kWhite : kBlack;
    return true;
}

bool PlayForm::LoadTextGrid(const std::vector<std::int16_t>& PassedArray, bool EnableGrid) {
    if (PassedArray.size() != cells_.size() || puzzle_.GridPattern.size() != cells_.size())
        return false;
    for (std::size_t i = 0; i < PassedArray.size(); ++i) {
        cells_[i].fore = kBlack;
        const bool empty = PassedArray[i] < 0 || !puzzle_.GridPattern[i];
        SetCellText(static_cast<int>(i), empty ? std::string() : std::to_string(PassedArray[i]));
        cells_[i].enabled = EnableGrid;
    }
    return true;
}

void PlayForm::ShowStarterRed(int StartNo, int EndNo) {
    for (int i = std::max(StartNo, 0); i <= EndNo && i < config_.CellCount(); ++i)
        cells_[At(i)].fore = puzzle_.UserArray.at(At(i)) == puzzle_.SolutionArray.at(At(i)) ? kRed : kBlack;
}

bool PlayForm::FindGivenLabel(int StartNo, int EndNo) {
    std::string text;
    for (int i = std::max(StartNo, 0); i <= EndNo && i < puzzle_.CellCount(); ++i)
        text += std::to_string(puzzle_.SolutionArray[At(i)]);
    // The starting number always runs across; on the Large form an equal DOWN number must not
    // take its tick, so across lists are searched before down lists.
    for (const bool down : {false, true})
        for (std::size_t id = 0; id < boxes_.size(); ++id)
            if (boxes_[id].down == down && boxes_[id].caption == text) {
                SetBoxValue(static_cast<int>(id), 1);
                return true;
            }
    return false;
}

TwipPoint PlayForm::Form_Resize(int windowWidth, int windowHeight) const {
    const int left = (windowWidth - config_.work.width - config_.resizeDx) / 2;
    const int top = (windowHeight - config_.work.height - config_.resizeDy) / 2;
    return {std::max(left, 0), std::max(top, 0)};
}

void PlayForm::ResetCheckBoxes() {
    for (auto& label : labels_)
        if (label.role != LabelRole::Copyright)
            label.visible = false;
    // Boxes made for another template's lists must not linger either, nor keep a tick out of
    // sight (it would be kept with the game as a tick of a list the template lacks); the lists
    // in use are shown again by CreateLabels.
    for (std::size_t id = 0; id < boxes_.size(); ++id) {
        boxes_[id].visible = false;
        SetBoxValue(static_cast<int>(id), 0);
    }
}

int PlayForm::FindBox(int digits, bool down, int index) const {
    for (std::size_t id = 0; id < boxes_.size(); ++id)
        if (boxes_[id].digits == digits && boxes_[id].down == down && boxes_[id].index == index)
            return static_cast<int>(id);
    return -1;
}

int PlayForm::ListCount(int digits, bool down) const {
    if (digits < kShortest || digits > kLongest)
        return 0;
    const auto& list = down ? puzzle_.NumbersDown[At(digits)] : puzzle_.Numbers[At(digits)];
    return static_cast<int>(list.size());
}

bool PlayForm::CreateLabels(const std::string& Puzzle, [[maybe_unused]] bool LoadBoxes) {
    try {
        ResetCheckBoxes();
        // A template of another size class has no lists on this form.
        const TemplateRecord* record = FindTemplate(Puzzle);
        if (record == nullptr || record->size != config_.size)
            return true;
        const auto k = At(config_.ColorIndex());
        auto placeSection = [&](LabelRole role) {
            for (auto& label : labels_)
                if (label.role == role) {
                    label.visible = true;
                    label.fore = colors_.PrimaryColor[k];
                    label.back = colors_.BackgroundColor[k];
                }
        };
        for (const bool down : {false, true}) {
            if (down && !config_.separateLists)
                break;
            if (config_.separateLists)
                placeSection(down ? LabelRole::Down : LabelRole::Across);
            for (const ListLayout& list : record->lists) {
                const int n = list.digits;
                if (!down) {
                    auto heading = std::find_if(labels_.begin(), labels_.end(),
                                                [n](const FormLabel& l) { return l.digits == n; });
                    if (heading == labels_.end())
                        return false;
                    heading->left = list.heading.left;
                    heading->top = list.heading.top;
                    heading->visible = true;
                    GetObjectColors(*heading);
                }
                const CaptionList& captions =
                    down ? puzzle_.CaptionsDown.at(At(n)) : puzzle_.Captions.at(At(n));
                const int count = ListCount(n, down);
                if (count < 1 || captions.size() < At(count))
                    return false;
                const int first = FindBox(n, down, 0);
                if (first < 0)
                    return false;
                {
                    ListBox& box0 = boxes_[At(first)];
                    box0.left = list.firstBox.left;
                    box0.top = down ? list.firstDownBox.top : list.firstBox.top;
                    box0.visible = true;
                    box0.caption = captions[0];
                }
                GetObjectColors(boxes_[At(first)]);

                // Each column holds the next part of the ascending list, side by side.
                const int columns = std::max(list.columns, 1);
                const int part = std::max(count / columns, 1);
                for (int j = 1; j < count; ++j) {
                    // LoadBoxes says whether the boxes are expected to exist yet. Reusing a box
                    // that exists and creating one that is missing is right either way, and a
                    // form laid out twice never shows a list twice.
                    int id = FindBox(n, down, j);
                    if (id < 0) {
                        ListBox made = boxes_[At(first)];
                        made.index = j;
                        made.value = 0;
                        made.keptTick.reset();
                        boxes_.push_back(made);
                        id = static_cast<int>(boxes_.size()) - 1;
                    }
                    const bool newColumn = j >= part && j / part < columns;
                    const ListBox& anchor = boxes_[At(FindBox(n, down, newColumn ? j - part : j - 1))];
                    const int left = newColumn ? anchor.left + list.columnStep : anchor.left;
                    const int top = newColumn ? anchor.top : anchor.top + 240;
                    ListBox& box = boxes_[At(id)];
                    box.left = left;
                    box.top = top;
                    box.caption = captions[At(j)];
                    box.visible = true;
                }
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

ColorValue PlayForm::ListColor(const TemplateRecord& record, int digits) const {
    const auto k = At(config_.ColorIndex());
    const auto& primary = record.primary;
    const bool isPrimary = std::find(primary.begin(), primary.end(), digits) != primary.end();
    return isPrimary ? colors_.PrimaryColor[k] : colors_.SecondaryColor[k];
}

// A puzzle that is no template leaves the lists' colours as they are.
void PlayForm::GetObjectColors(ListBox& box) {
    box.back = colors_.BackgroundColor[At(config_.ColorIndex())];
    if (const TemplateRecord* record = FindTemplate(puzzle_.PuzzleName))
        box.fore = ListColor(*record, box.digits);
}

void PlayForm::GetObjectColors(FormLabel& label) {
    label.back = colors_.BackgroundColor[At(config_.ColorIndex())];
    if (const TemplateRecord* record = FindTemplate(puzzle_.PuzzleName))
        label.fore = ListColor(*record, label.digits);
}

void PlayForm::BoxClick(int id) {
    if (id < 0 || At(id) >= boxes_.size())
        return;
    ListBox& box = boxes_[At(id)];
    box.value = box.value == 1 ? 0 : 1;
    BoxClicked(box);
}

void PlayForm::SetBoxValue(int id, int value) {
    if (id < 0 || At(id) >= boxes_.size() || boxes_[At(id)].value == value)
        return;
    boxes_[At(id)].value = value;
    BoxClicked(boxes_[At(id)]);
}

void PlayForm::BoxClicked(ListBox& box) {
    SetBuffer(box.caption);
    // The colour follows the tick. Comparing colours instead would lose track of ticks in a
    // scheme whose Checked colour equals the Primary or Secondary colour.
    if (box.value == 1)
        box.fore = colors_.CheckedColor[At(config_.ColorIndex())];
    else
        GetObjectColors(box);
    if (config_.separateLists)
        BufferFromAcross_ = !box.down;
}

void PlayForm::SetBuffer(const std::string& text) {
    BufferText_ = text;
    bufferCaption_ = "Buffer = " + BufferText_;
}

void PlayForm::SetCellText(int index, const std::string& text) {
    if (index < 0 || At(index) >= cells_.size() || cells_[At(index)].text == text)
        return;
    cells_[At(index)].text = text;
    txtGrid_Change(index);
}

void PlayForm::txtGrid_Change(int index) {
    if (!TrackEntries_ || index < 0 || At(index) >= puzzle_.UserArray.size())
        return;
    const std::string& text = cells_[At(index)].text;
    puzzle_.UserArray[At(index)] =
        text.empty() ? std::int16_t{-1} : static_cast<std::int16_t>(LeadingNumber(text));
    // Check's mark says the digit it saw was wrong; a changed square has not been judged.
    if (At(index) < wrongMarks_.size())
        wrongMarks_[At(index)] = false;
    cells_[At(index)].wrong = false;
}

void PlayForm::UpdateUndo() {
    undoCaption_ = "Undo ";
    const auto& steps = undo_.Steps();
    if (steps.empty()) {
        undoEnabled_ = false;
        return;
    }
    undoEnabled_ = true;
    // A step of a kept game that could not be read shows as the step before it, the first as a
    // 0 in square 0.
    if (steps.size() == 1) {
        const UndoStep step = steps[0].value_or(UndoStep{});
        const std::string place =
            std::to_string(step.cell % Width() + 1) + " Row " + std::to_string(step.cell / Width() + 1);
        if (step.newValue != -1)
            undoCaption_ += std::to_string(step.newValue) +
                            (config_.separateLists ? " of Column " : " in Column ") + place;
        else
            undoCaption_ += "Clear of Column " + place;
        return;
    }
    UndoStep shown;
    for (const auto& step : steps) {
        if (step)
            shown = *step;
        undoCaption_ += std::to_string(shown.newValue);
    }
}

void PlayForm::ClearUndo() {
    undo_.Clear();
    UpdateUndo();
}

void PlayForm::BreakDownUndoArray(const std::string& UndoString, int& GridNo, int& OldValue, int& NewValue) {
    if (const auto step = UndoHistory::ParseStep(UndoString)) {
        GridNo = step->cell;
        OldValue = step->oldValue;
        NewValue = step->newValue;
    }
}

void PlayForm::mnuNewPuzzle_Click() {
    // The build's own complaint, if any, is all the user hears of a failed New Game.
    const GenerateResult made = GeneratePuzzle(puzzle_);
    if (!made.message.empty())
        dialogs_.MessageBox(made.message, version::Title, Buttons::Ok, Icon::None);
    LoadPuzzle(false);
    if (made.ok && records_ != nullptr)
        records_->GameStarted(puzzle_.PuzzleName);
}

void PlayForm::mnuHelp_Click() {
    host_.ShowHelp();
    if (exitRequested_)
        mnuExit_Click();
}

void PlayForm::mnuReturnToMain_Click() {
    host_.Unload();
}

void PlayForm::mnuExit_Click() {
    exitRequested_ = true;
    host_.Unload();
}

} // namespace corvana
