// The puzzle files the program opens are what corvana-gen writes.

#include "puzzle/PuzzleFile.h"
#include "FakeDialogs.h"
#include "GenCli.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>

using namespace corvana;

TEST(PuzzleFile, ReadsWhatCorvanaGenWritesAsTheSamePuzzle) {
    const std::vector<std::vector<std::string>> commands = {
        {"--template", "Small Puzzle Pinwheel", "--seed", "3"},
        {"--template", "Normal Puzzle Shield", "--seed", "18446744073709551615", "--reduced"},
        {"--template", "Large Puzzle Four Electrodes", "--seed", "77", "--no-first"},
    };
    for (std::vector<std::string> args : commands) {
        SCOPED_TRACE(args[1]);
        PuzzleState built;
        built.PuzzleName = args[1];
        built.ReducedNumbers = args.back() == "--reduced";
        built.NoShowFirst = args.back() == "--no-first";
        test::FakeDialogs dialogs;
        ASSERT_TRUE(GeneratePuzzle(built, dialogs, std::stoull(args[3])));

        args.insert(args.end(), {"--format", "json"});
        std::ostringstream out, err;
        ASSERT_EQ(RunGenerator(args, out, err), 0) << err.str();
        nlohmann::json j = nlohmann::json::parse(out.str());
        j["a key of a later version"] = {1, 2};
        PuzzleState read;
        read.ExitRequested = true; // the run's exit request is not the file's to take back
        std::string error;
        ASSERT_TRUE(PuzzleFromJson(j, read, error)) << error;
        EXPECT_TRUE(read.ExitRequested);
        EXPECT_EQ(read.PuzzleName, built.PuzzleName);
        EXPECT_EQ(read.Seed, built.Seed);
        EXPECT_EQ(read.ReducedNumbers, built.ReducedNumbers);
        EXPECT_EQ(read.NoShowFirst, built.NoShowFirst);
        EXPECT_EQ(read.GridPattern, built.GridPattern);
        EXPECT_EQ(read.SolutionArray, built.SolutionArray);
        EXPECT_EQ(read.UserArray, built.UserArray);
        EXPECT_EQ(read.StarterFirstCell, built.StarterFirstCell);
        EXPECT_EQ(read.Numbers, built.Numbers);
        EXPECT_EQ(read.Captions, built.Captions);
        EXPECT_EQ(read.NumbersDown, built.NumbersDown);
        EXPECT_EQ(read.CaptionsDown, built.CaptionsDown);
        EXPECT_EQ(PuzzleToJson(read), nlohmann::json::parse(out.str()));
    }
}
