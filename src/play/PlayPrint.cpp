// Printing: the play form itself, turned black on white in the wanted state, is the page.
#include "play/PlayForm.h"

#include "corvana/Version.h"

#include <algorithm>

namespace corvana {

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

} // namespace

std::string PlayForm::CopyrightLine() const {
    return "(c) " + puzzle_.PuzzleName + " by the Corvana developers";
}

void PlayForm::BlackenStarter() {
    for (int i = std::max(puzzle_.StarterFirstCell, 0); i <= puzzle_.StarterLastCell && At(i) < cells_.size();
         ++i)
        cells_[At(i)].fore = kBlack;
}

void PlayForm::SetPrintColors() {
    for (auto& box : boxes_) {
        box.fore = kBlack;
        box.back = kWhite;
    }
    for (auto& label : labels_) {
        label.fore = kBlack;
        label.back = kWhite;
    }
    for (FormFrame* frame : {&work_, &userGrid_}) {
        frame->fore = kBlack;
        frame->back = kWhite;
    }
    formBack_ = kWhite;
}

// What printing must leave as the user had it: the buffer, the list it was taken from and the
// user's own ticks. Preparing a page ticks and clears boxes, and every click fills the buffer, so
// all of it is kept before the page is made and given back after the screen is restored.
class PlayForm::KeptForPrint {
public:
    explicit KeptForPrint(const PlayForm& form)
        : buffer_(form.BufferText_), fromAcross_(form.BufferFromAcross_) {
        // While the solution is shown the user's ticks wait in keptTick.
        for (const auto& box : form.boxes_)
            ticks_.push_back(form.SolutionShown_ ? box.keptTick == true : box.value == 1);
    }

    const std::string& Buffer() const { return buffer_; }

    void GiveBack(PlayForm& form) const {
        for (std::size_t id = 0; id < form.boxes_.size() && id < ticks_.size(); ++id)
            form.SetBoxValue(static_cast<int>(id), ticks_.at(id) ? 1 : 0);
        form.SetBuffer(buffer_);
        form.BufferFromAcross_ = fromAcross_;
    }

private:
    std::string buffer_;
    bool fromAcross_;
    std::vector<bool> ticks_; // by box id
};

void PlayForm::PrintPuzzle(PrintKind PrintNo) {
    // 1. Keep what the user has: printing is not meant to change the game.
    const KeptForPrint kept(*this);
    // 2. Make the form the page of the kind asked for, and 3. print it.
    if (PreparePage(PrintNo, kept.Buffer()))
        PrintPage();
    // 4. Bring back the screen's colours, the user's grid and the starting number.
    RestoreColorsAndChecks(PrintNo);
    // 5. Give back the user's own ticks and buffer, whatever the page ticked or cleared, and
    // let the screen track entries and show Check's marks again.
    kept.GiveBack(*this);
    TrackEntries_ = true;
    printing_ = false;
    ShowMarks();
}

bool PlayForm::PreparePage(PrintKind kind, const std::string& userBuffer) {
    FormLabel* copyright = nullptr;
    for (auto& label : labels_)
        if (label.role == LabelRole::Copyright)
            copyright = &label;
    copyright->caption = CopyrightLine();
    copyright->visible = true;
    // Check's marks are for the screen only.
    printing_ = true;
    ShowMarks();
    BlackenStarter();
    TrackEntries_ = false;

    switch (kind) {
    case PrintKind::Original:
        if (SolutionShown_) {
            mnuSolution_Click();
            TrackEntries_ = false;
        }
        for (std::size_t id = 0; id < boxes_.size(); ++id)
            if (boxes_[id].value == 1) {
                SetBoxValue(static_cast<int>(id), 0);
                boxes_[id].keptTick = true;
            }
        if (!StarterHidden_)
            FindGivenLabel(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        for (int i = 0; At(i) < cells_.size(); ++i) {
            cells_[At(i)].fore = kBlack;
            const bool starter =
                i >= puzzle_.StarterFirstCell && i <= puzzle_.StarterLastCell && !StarterHidden_;
            SetCellText(i, starter ? std::to_string(puzzle_.SolutionArray.at(At(i))) : std::string());
        }
        SetPrintColors();
        SetBuffer(userBuffer);
        break;
    case PrintKind::Current:
        if (SolutionShown_) {
            mnuSolution_Click();
            TrackEntries_ = false;
        }
        SetPrintColors();
        break;
    case PrintKind::Solution:
        if (!SolutionShown_)
            mnuSolution_Click();
        TrackEntries_ = false;
        SetPrintColors();
        break;
    default: // no kind of print: nothing goes to the printer
        return false;
    }
    // Showing the user grid or the solution above coloured the starting number red again; no
    // red goes on paper.
    BlackenStarter();
    return true;
}

void PlayForm::PrintPage() {
    const PrintResult result = host_.PrintWindow();
    if (result.outcome != PrintResult::Outcome::Failed)
        return;
    // The error number heads the message. Qt reports none for most failures, so then a plain
    // first line stands in for it above the description of what went wrong.
    const std::string first =
        result.errorNumber != 0 ? std::to_string(result.errorNumber) : "The puzzle could not be printed.";
    dialogs_.MessageBox(first + "\r\n" + result.error, version::Title, Buttons::Ok, Icon::None);
}

void PlayForm::RestoreColorsAndChecks(PrintKind PrintNo) {
    for (auto& label : labels_)
        if (label.role == LabelRole::Copyright)
            label.visible = false;
    if (PrintNo == PrintKind::Original) {
        // The form is made to believe the solution is shown, so the toggle brings back the
        // user's cells from UserArray and their ticks from keptTick.
        SolutionShown_ = true;
        mnuSolution_Click();
    } else if (PrintNo == PrintKind::Solution) {
        mnuSolution_Click();
    }
    if (!StarterHidden_) {
        ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
        FindGivenLabel(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
    }
    const auto k = At(config_.ColorIndex());
    const TemplateRecord* record = FindTemplate(puzzle_.PuzzleName);
    for (auto& box : boxes_) {
        box.back = colors_.BackgroundColor[k];
        if (box.value == 1)
            box.fore = colors_.CheckedColor[k];
        else if (record != nullptr)
            box.fore = ListColor(*record, box.digits);
    }
    for (auto& label : labels_) {
        label.back = colors_.BackgroundColor[k];
        if (label.role == LabelRole::Across || label.role == LabelRole::Down)
            label.fore = colors_.PrimaryColor[k];
        else if (record != nullptr)
            label.fore = ListColor(*record, label.digits);
    }
    for (FormFrame* frame : {&work_, &userGrid_}) {
        frame->back = colors_.BackgroundColor[k];
        frame->fore = colors_.PrimaryColor[k];
    }
    formBack_ = colors_.BackgroundColor[k];
}

} // namespace corvana
