#include "app/MainMenu.h"

#include "puzzle/GeneratePuzzle.h"
#include "puzzle/PuzzleFile.h"
#include "puzzle/Templates.h"

#include <algorithm>

namespace corvana {

const std::vector<TemplateCommand>& TemplateCommands() {
    static const std::vector<TemplateCommand> commands = {
        {"mnuH", "H", "Small Puzzle H", "Error in loading Small Puzzle H"},
        {"mnuPinwheel", "Pinwheel", "Small Puzzle Pinwheel", "Error in loading Small Puzzle Pinwheel"},
        {"mnuFiveSquares", "Five Squares", "Small Puzzle Five Squares",
         "Error in loading Small Puzzle Five Squares"},
        {"mnuWheel", "Wheel", "Small Puzzle Wheel", "Error in loading Small Puzzle Wheel"},
        {"mnuProjectX", "Project X", "Small Puzzle Project X", ""},
        {"mnuPlus", "Plus", "Normal Puzzle Plus", "Error in loading Normal Puzzle Plus"},
        {"mnuSteps", "Steps", "Normal Puzzle Steps", "Error in loading Normal Puzzle Steps"},
        {"mnuShield", "Shield", "Normal Puzzle Shield", "Error in loading Normal Puzzle Shield"},
        // This one template's load-error message names it without the word "Puzzle".
        {"mnuBrokenPieces", "Broken Pieces", "Normal Puzzle Broken Pieces",
         "Error in loading Normal Broken Pieces"},
        {"mnuFivePlus", "Five Plus", "Normal Puzzle Five Plus", "Error in loading Normal Puzzle Five Plus"},
        {"mnuAngled", "Angled", "Normal Puzzle Angled", "Error in loading Normal Puzzle Angled"},
        {"mnuHTT", "HTT", "Normal Puzzle HTT", "Error in loading Normal Puzzle HTT"},
        {"mnuCrazyEights", "Crazy Eights", "Large Puzzle Crazy Eights",
         "Error in loading Large Puzzle Crazy Eights"},
        {"mnuSquares", "Squares", "Large Puzzle Squares", "Error in loading Large Puzzle Squares"},
        {"mnuFourElectrodes", "Four Electrodes", "Large Puzzle Four Electrodes", ""},
    };
    return commands;
}

SizeClass CommandSize(const TemplateCommand& command) {
    // Every command names one of the fifteen templates; the record knows its size.
    return FindTemplate(command.puzzleName)->size;
}

const TemplateCommand* FindTemplateCommand(std::string_view menuName) {
    const auto& commands = TemplateCommands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [menuName](const TemplateCommand& c) { return c.menuName == menuName; });
    return it == commands.end() ? nullptr : &*it;
}

WorkPosition CentreWork(float clientWidth, float clientHeight) {
    const float left = (clientWidth - static_cast<float>(kWorkWidth)) / 2.0f;
    const float top = (clientHeight - static_cast<float>(kWorkHeight)) / 2.0f;
    return {std::max(left, 0.0f), std::max(top, 0.0f)};
}

MainMenu::MainMenu(PuzzleState& puzzle, bool& exitRequested, ColorScheme& colors, Dialogs& dialogs,
                   WindowOpener& opener, std::string colorFilePath, Generator generate, GameStore* store,
                   RecordsBook* records)
    : puzzle_(puzzle), exitRequested_(exitRequested), colors_(colors), dialogs_(dialogs), opener_(opener),
      colorFilePath_(std::move(colorFilePath)), generate_(std::move(generate)), store_(store),
      records_(records) {
    if (!generate_)
        generate_ = [](PuzzleState& state, Dialogs& d, std::optional<std::uint64_t> seed) {
            const GenerateResult made = GeneratePuzzle(state, seed);
            if (!made.message.empty())
                d.MessageBox(made.message, kMessageTitle, Buttons::Ok, Icon::None);
            return made.ok;
        };
}

void MainMenu::Form_Load() {
    puzzle_.NoShowFirst = false;
    noShowChecked_ = false;

    SetDefaultColors(colors_);
    if (!LoadColorFile(colors_, colorFilePath_)) {
        if (DeleteColorFile(colorFilePath_))
            dialogs_.MessageBox(kColorFileDamaged, kMessageTitle, Buttons::Ok, Icon::None);
        else
            dialogs_.MessageBox(std::string(kColorFileStuck) + "\r\n" + colorFilePath_, kColorFileStuckTitle,
                                Buttons::Ok, Icon::Critical);
        // The failed read may have changed some colours before it stopped.
        SetDefaultColors(colors_);
    }

    if (store_ != nullptr) {
        const std::string message = store_->Load().message;
        if (!message.empty())
            dialogs_.MessageBox(message, kMessageTitle, Buttons::Ok, Icon::Exclamation);
    }
    if (records_ != nullptr) {
        const std::string message = records_->Load();
        if (!message.empty())
            dialogs_.MessageBox(message, kMessageTitle, Buttons::Ok, Icon::Exclamation);
    }
}

void MainMenu::mnuResume_Click() {
    if (store_ != nullptr) {
        GameStore::Loaded loaded = store_->Load();
        if (!loaded.message.empty())
            dialogs_.MessageBox(loaded.message, kMessageTitle, Buttons::Ok, Icon::Exclamation);
        if (loaded.game && store_->Resumable()) {
            puzzle_ = std::move(loaded.game->puzzle);
            OpenPuzzle(&loaded.game->play);
        }
    }
    CheckExit();
}

void MainMenu::Open(const StartRequest& request) {
    switch (request.kind) {
    case StartRequest::Kind::MainWindowOnly:
        return;
    case StartRequest::Kind::Template: {
        const auto& commands = TemplateCommands();
        const auto it = std::find_if(commands.begin(), commands.end(), [&request](const TemplateCommand& c) {
            return c.puzzleName == request.templateName;
        });
        if (it == commands.end())
            return;
        puzzle_.NoShowFirst = request.noFirst;
        puzzle_.ReducedNumbers = request.reduced;
        noShowChecked_ = request.noFirst;
        reducedChecked_ = request.reduced;
        OpenCommand(*it, request.seed);
        return;
    }
    case StartRequest::Kind::File: {
        PuzzleState read;
        std::string error;
        if (!ReadPuzzleForPlay(request.file, read, error)) {
            dialogs_.MessageBox("The puzzle file " + request.file + " cannot be opened: " + error + ".",
                                kMessageTitle, Buttons::Ok, Icon::Exclamation);
            return;
        }
        puzzle_ = std::move(read);
        if (records_ != nullptr)
            records_->GameStarted(puzzle_.PuzzleName);
        OpenPuzzle(nullptr);
        CheckExit();
        return;
    }
    }
}

void MainMenu::OpenPuzzle(const PlayRecord* resume) {
    noShowChecked_ = puzzle_.NoShowFirst;
    reducedChecked_ = puzzle_.ReducedNumbers;
    opener_.ShowPlayForm(FindTemplate(puzzle_.PuzzleName)->size, resume);
}

void MainMenu::Template_Click(std::string_view menuName) {
    if (const TemplateCommand* command = FindTemplateCommand(menuName))
        Template_Click(*command);
}

void MainMenu::Template_Click(const TemplateCommand& command) {
    OpenCommand(command, std::nullopt);
}

void MainMenu::OpenCommand(const TemplateCommand& command, std::optional<std::uint64_t> seed) {
    puzzle_.PuzzleName = std::string(command.puzzleName);
    if (generate_(puzzle_, dialogs_, seed)) {
        if (records_ != nullptr)
            records_->GameStarted(puzzle_.PuzzleName);
        opener_.ShowPlayForm(CommandSize(command), nullptr);
    } else {
        const std::string message = command.loadError.empty() ? "Error in loading " + puzzle_.PuzzleName
                                                              : std::string(command.loadError);
        dialogs_.MessageBox(message, kMessageTitle, Buttons::Ok, Icon::None);
    }
    CheckExit();
}

void MainMenu::mnuNoShow_Click() {
    puzzle_.NoShowFirst = !puzzle_.NoShowFirst;
    noShowChecked_ = puzzle_.NoShowFirst;
}

void MainMenu::mnuReduced_Click() {
    reducedChecked_ = !reducedChecked_;
    puzzle_.ReducedNumbers = reducedChecked_;
}

void MainMenu::mnuHowToPlay_Click() {
    opener_.ShowHowToPlay();
    CheckExit();
}

void MainMenu::mnuColors_Click() {
    opener_.ShowColors();
    CheckExit();
}

void MainMenu::mnuCredits_Click() {
    // The credits window has no Exit command, so nothing is checked afterwards.
    opener_.ShowCredits();
}

void MainMenu::mnuBestTimes_Click() {
    // Like the credits, the window has no Exit command.
    opener_.ShowBestTimes();
}

void MainMenu::mnuExit_Click() {
    unloaded_ = true;
}

void MainMenu::CheckExit() {
    if (exitRequested_)
        mnuExit_Click();
}

} // namespace corvana
