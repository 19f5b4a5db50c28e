// What the program opens at start: the command line, the puzzle it names, and the kept game.
#include "app/CommandLine.h"
#include "app/MainMenu.h"
#include "play/GameFile.h"
#include "puzzle/PuzzleFile.h"

#include "FakeDialogs.h"
#include "ScriptedOpener.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace corvana;
using corvana::test::FakeDialogs;
using corvana::test::ScriptedOpener;
using corvana::test::TempDir;
using corvana::test::WriteText;

TEST(CommandLine, EachFormGivesItsRequestAndEveryBadOneStatusTwoWithItsReason) {
    using K = StartRequest::Kind;
    struct Row {
        std::vector<std::string> args;
        K kind;
        std::string name;
        std::optional<std::uint64_t> seed;
        bool reduced, noFirst;
        std::string file;
    };
    for (const Row& row : std::vector<Row>{
             {{}, K::MainWindowOnly, "", {}, false, false, ""},
             {{"--template", "Small Puzzle H"}, K::Template, "Small Puzzle H", {}, false, false, ""},
             {{"--template", "Large Puzzle Squares", "--seed", "18446744073709551615", "--reduced",
               "--no-first"},
              K::Template,
              "Large Puzzle Squares",
              18446744073709551615ull,
              true,
              true,
              ""},
             {{"--seed", "0", "--template", "Normal Puzzle HTT"},
              K::Template,
              "Normal Puzzle HTT",
              0,
              false,
              false,
              ""},
             {{"game.json"}, K::File, "", {}, false, false, "game.json"},
         }) {
        const CommandLine line = ParseCommandLine(row.args);
        EXPECT_FALSE(line.exitStatus.has_value()) << line.err;
        EXPECT_EQ(line.request.kind, row.kind);
        EXPECT_EQ(line.request.templateName, row.name);
        EXPECT_EQ(line.request.seed, row.seed);
        EXPECT_EQ(line.request.reduced, row.reduced);
        EXPECT_EQ(line.request.noFirst, row.noFirst);
        EXPECT_EQ(line.request.file, row.file);
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--template", "Small"},
         "unknown template 'Small'; valid names: \"Small Puzzle H\", \"Small Puzzle Pinwheel\""},
        {{"--template", "Small Puzzle H", "--seed", "18446744073709551616"},
         "malformed seed '18446744073709551616'"},
        {{"--seed", "4"}, "--seed requires --template"},
        {{"--reduced"}, "--reduced requires --template"},
        {{"a.json", "--template", "Small Puzzle H"}, "excludes"},
        {{"--colour"}, "--colour"},
    };
    for (const auto& [args, reason] : bad) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.exitStatus, 2) << args.front();
        EXPECT_NE(line.err.find(reason), std::string::npos) << line.err;
        EXPECT_TRUE(line.out.empty());
    }
    const CommandLine help = ParseCommandLine({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("--no-first"), std::string::npos);
}

namespace {
struct Start {
    TempDir folder;
    PuzzleState puzzle;
    ColorScheme colors;
    FakeDialogs dialogs;
    ScriptedOpener opener;
    std::optional<std::uint64_t> seed;
    GameStore store{folder.File("last-game.json")};
    MainMenu menu{puzzle,
                  colors,
                  dialogs,
                  opener,
                  folder.File(kColorFileName),
                  [this](PuzzleState& state, Dialogs& d, std::optional<std::uint64_t> s) {
                      seed = s;
                      return GeneratePuzzle(state, d, s);
                  },
                  &store};
};
} // namespace

TEST(StartRequest, OpensTheNamedTemplateWithItsOptionsOrTheFileOrSaysWhyNot) {
    Start s;
    StartRequest request;
    request.kind = StartRequest::Kind::Template;
    request.templateName = "Normal Puzzle Shield";
    request.seed = 77;
    request.reduced = true;
    request.noFirst = true;
    s.menu.Open(request);
    EXPECT_EQ(s.opener.opened, std::vector<std::string>{"play:Normal"});
    EXPECT_EQ(s.seed, 77u);
    EXPECT_TRUE(s.puzzle.ReducedNumbers && s.puzzle.NoShowFirst);
    EXPECT_TRUE(s.menu.ReducedChecked() && s.menu.NoShowChecked()) << "the option ticks follow the request";

    // The same puzzle written by corvana-gen opens from its file with its own options ticked.
    const std::string file = s.folder.File("shield.json");
    WriteText(file, PuzzleToJson(s.puzzle).dump());
    Start fromFile;
    request = {};
    request.kind = StartRequest::Kind::File;
    request.file = file;
    fromFile.menu.Open(request);
    EXPECT_EQ(fromFile.opener.opened, std::vector<std::string>{"play:Normal"});
    EXPECT_EQ(fromFile.puzzle.SolutionArray, s.puzzle.SolutionArray);
    EXPECT_TRUE(fromFile.menu.ReducedChecked() && fromFile.menu.NoShowChecked());

    WriteText(file, "{");
    Start broken;
    broken.menu.Open(request);
    EXPECT_TRUE(broken.opener.opened.empty());
    ASSERT_EQ(broken.dialogs.messages.size(), 1u);
    EXPECT_EQ(broken.dialogs.messages[0].text,
              "The puzzle file " + file + " cannot be opened: it is not JSON.");

    request.kind = StartRequest::Kind::Template;
    request.templateName = "No Such Template";
    broken.menu.Open(request);
    EXPECT_TRUE(broken.opener.opened.empty());
}

TEST(StartRequest, ResumeReopensTheKeptGame) {
    Start s;
    EXPECT_FALSE(s.menu.ResumeEnabled());
    s.menu.mnuResume_Click();
    EXPECT_TRUE(s.opener.opened.empty());

    PuzzleState kept;
    kept.PuzzleName = "Small Puzzle Wheel";
    ASSERT_TRUE(GeneratePuzzle(kept, s.dialogs, 5));
    ASSERT_EQ(GameStore(s.store.Path()).Save(SavedGame{kept, {}}), "");
    s.menu.Form_Load();
    EXPECT_TRUE(s.menu.ResumeEnabled());
    s.menu.mnuResume_Click();
    EXPECT_EQ(s.opener.opened, std::vector<std::string>{"resume:Small"});
    EXPECT_EQ(s.puzzle.SolutionArray, kept.SolutionArray);
    EXPECT_TRUE(s.dialogs.messages.empty());
}
