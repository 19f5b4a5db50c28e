// Keeping a game: the time spent, the solved notice, and capturing and restoring the form's
// state of play for the state file.

#include "corvana/Version.h"
#include "play/PlayForm.h"
#include "solver/Rules.h"

#include <algorithm>

namespace corvana {

namespace {

std::string Count(std::int64_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

} // namespace

std::string SpentText(std::int64_t seconds) {
    seconds = std::max<std::int64_t>(seconds, 0);
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::int64_t secs = seconds % 60;
    if (hours > 0)
        return Count(hours, "hour") + (minutes > 0 ? " " + Count(minutes, "minute") : "");
    if (minutes > 0)
        return Count(minutes, "minute") + (secs > 0 ? " " + Count(secs, "second") : "");
    return Count(secs, "second");
}

std::string SolvedMessage(const std::string& puzzleName, std::int64_t seconds, bool assisted, int hints,
                          int checks, int place) {
    std::string text = "Well done!  You have solved " + puzzleName + " in " + SpentText(seconds) + ".";
    if (assisted)
        text += "  Solved with help: " + Count(hints, "hint") + " and " + Count(checks, "check") + ".";
    if (place > 0)
        text += "  " + PlaceSentence(place);
    return text;
}

void PlayForm::SetClock(Clock clock) {
    clock_.SetReading(std::move(clock));
}

double PlayForm::TimeSpent() const {
    return clock_.TimeSpent();
}

std::int64_t PlayForm::SecondsSpent() const {
    return clock_.SecondsSpent();
}

void PlayForm::PauseClock() {
    clock_.Pause();
}

void PlayForm::ResumeClock() {
    clock_.Resume();
}

void PlayForm::CheckSolved() {
    // Only the user's own entries count: the solution view writes its digits past UserArray,
    // and while it is shown no entry can be made anyway.
    // Any fill of the puzzle as shown counts, not only the generated one: with the starting number
    // hidden its mirror image fits every list as well.
    if (SolutionShown_ || clock_.Finished() || !GridSolved())
        return;
    // The time stops here: the notice, the records and the kept game all name this one.
    clock_.Finish();
    const std::int64_t seconds = SecondsSpent();
    // Counted before the notice waits for OK, like the kept game.
    int place = 0;
    if (records_ != nullptr)
        place =
            records_->GameSolved({{puzzle_.PuzzleName, puzzle_.ReducedNumbers, puzzle_.NoShowFirst, grade_},
                                  puzzle_.Seed,
                                  seconds,
                                  assisted_});
    // The digit that solved the grid is kept before the notice waits for OK: a kill or power
    // cut while it is shown loses nothing. The records' write goes on meanwhile.
    host_.KeepGame();
    if (records_ != nullptr)
        records_->Flush();
    dialogs_.MessageBox(SolvedMessage(puzzle_.PuzzleName, seconds, assisted_, hints_, checks_, place),
                        version::Title, Buttons::Ok, Icon::None);
}

PlayRecord PlayForm::CapturePlay() const {
    PlayRecord r;
    for (const ListBox& box : boxes_) {
        if (!box.visible)
            continue;
        // In the solution view every box shows ticked; the user's own ticks wait in keptTick.
        const bool ticked = SolutionShown_ ? box.keptTick == true : box.value == 1;
        if (ticked)
            r.ticks.push_back({box.digits, box.down, box.index});
    }
    r.buffer = BufferText_;
    r.bufferFromAcross = BufferFromAcross_;
    r.undo = undo_.ToText();
    r.starterHidden = StarterHidden_;
    r.solutionShown = SolutionShown_;
    r.secondsSpent = SecondsSpent();
    r.solvedNoticeShown = clock_.Finished();
    r.assisted = assisted_;
    r.hints = hints_;
    r.checks = checks_;
    for (std::size_t i = 0; i < wrongMarks_.size(); ++i)
        if (wrongMarks_[i])
            r.checkMarks.push_back(static_cast<int>(i));
    return r;
}

void PlayForm::RestorePlay(const PlayRecord& r) {
    // A starting number the user had revealed is shown again; the digits are in the user grid.
    if (StarterHidden_ && !r.starterHidden) {
        StarterHidden_ = false;
        showStartingNumberVisible_ = false;
        ShowStarterRed(puzzle_.StarterFirstCell, puzzle_.StarterLastCell);
    }
    for (std::size_t id = 0; id < boxes_.size(); ++id) {
        const ListBox& box = boxes_[id];
        if (!box.visible)
            continue;
        const bool ticked = std::find(r.ticks.begin(), r.ticks.end(),
                                      PlayRecord::Tick{box.digits, box.down, box.index}) != r.ticks.end();
        SetBoxValue(static_cast<int>(id), ticked ? 1 : 0);
    }
    // The ticking above ran the list clicks, which rewrote the buffer.
    SetBuffer(r.buffer);
    BufferFromAcross_ = config_.separateLists && r.bufferFromAcross;
    undo_ = UndoHistory::FromText(r.undo);
    UpdateUndo();
    clock_.Start(static_cast<double>(std::max<std::int64_t>(r.secondsSpent, 0)), r.solvedNoticeShown);
    assisted_ = r.assisted || r.hints > 0 || r.checks > 0;
    hints_ = std::max(r.hints, 0);
    checks_ = std::max(r.checks, 0);
    // A mark stands only on a square that still holds a digit to be wrong.
    wrongMarks_.assign(cells_.size(), false);
    for (const int cell : r.checkMarks)
        if (IsCell(cell) && puzzle_.GridPattern[static_cast<std::size_t>(cell)] &&
            puzzle_.UserArray[static_cast<std::size_t>(cell)] >= 0)
            wrongMarks_[static_cast<std::size_t>(cell)] = true;
    ShowMarks();
    if (r.solutionShown)
        mnuSolution_Click();
}

} // namespace corvana
