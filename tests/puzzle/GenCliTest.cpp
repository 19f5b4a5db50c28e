#include "GenCli.h"
#include "FakeDialogs.h"
#include "puzzle/Templates.h"
#include "puzzle/modQUAVArrays.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace corvana;

namespace {

struct GenRun {
    int status;
    std::string out;
    std::string err;
};

GenRun Gen(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunGenerator(args, out, err);
    return {status, out.str(), err.str()};
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(CorvanaGen, ListsTheTemplatesInDispatchOrder) {
    const GenRun r = Gen({"--list"});
    ASSERT_EQ(r.status, 0);
    std::string expected;
    for (const auto& t : Templates())
        expected += std::string(t.name) + "\n";
    EXPECT_EQ(r.out, expected);
}

TEST(CorvanaGen, BadInputGivesOneLineOnStderrAndStatusTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--template", "Small Puzzle Q"},
             {"--template", "Small Puzzle H", "--seed", "12x"},
             {"--template", "Small Puzzle H", "--seed", "-1"},
             {"--template", "Small Puzzle H", "--seed", "99999999999999999999"},
             {"--template", "Small Puzzle H", "--colour"},
             {"--template", "Small Puzzle H", "--format", "xml"},
             {"--template"},
             {}}) {
        const GenRun r = Gen(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(Lines(r.err), 1u) << r.err;
    }
    const GenRun unknown = Gen({"--template", "Small Puzzle Q"});
    EXPECT_NE(unknown.err.find("\"Large Puzzle Four Electrodes\""), std::string::npos) << unknown.err;
}

TEST(CorvanaGen, JsonHasExactlyTheAgreedKeysAndMatchesTheBuild) {
    const GenRun r = Gen({"--template", "Small Puzzle H", "--seed", "42", "--format", "json", "--reduced"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::size_t at = 0;
    for (const char* key :
         {"\"name\": \"Small Puzzle H\"", "\"size\": \"Small\"", "\"width\": 10", "\"seed\": 42",
          "\"reduced\": true", "\"noShowFirst\": false", "\"starter\": [0, 1]", "\"solution\": [",
          "\"user\": [", "\"lists\": {", "\"listsDown\": {}"}) {
        const auto found = r.out.find(key, at);
        ASSERT_NE(found, std::string::npos) << key << "\n" << r.out;
        at = found;
    }

    test::FakeDialogs dialogs;
    PuzzleState s;
    s.PuzzleName = "Small Puzzle H";
    s.ReducedNumbers = true;
    ASSERT_TRUE(GeneratePuzzle(s, dialogs, 42));
    std::string row2 = "\"";
    for (int c = 20; c < 30; ++c)
        row2 += static_cast<char>('0' + s.SolutionArray[static_cast<std::size_t>(c)]);
    EXPECT_NE(r.out.find(row2 + "\""), std::string::npos);
    EXPECT_NE(r.out.find("\"..######..\""), std::string::npos) << "user row with black squares and empties";
    std::string list2 = "\"2\": [";
    for (std::size_t k = 0; k < s.Captions[2].size(); ++k)
        list2 += (k ? ", \"" : "\"") + s.Captions[2][k] + "\"";
    EXPECT_NE(r.out.find(list2 + "]"), std::string::npos) << list2;
    EXPECT_EQ(r.out.find("\"3\":"), std::string::npos) << "unused lengths are left out";
}

TEST(CorvanaGen, LargePuzzlesListAcrossAndDownSeparately) {
    const GenRun json =
        Gen({"--template", "Large Puzzle Squares", "--seed", "3", "--format", "json", "--no-first"});
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"noShowFirst\": true"), std::string::npos);
    const auto down = json.out.find("\"listsDown\": {\"3\": [");
    EXPECT_NE(down, std::string::npos);

    const GenRun text = Gen({"--template", "Large Puzzle Squares", "--seed", "3"});
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("ACROSS\n3 Digits:"), std::string::npos);
    EXPECT_NE(text.out.find("DOWN\n3 Digits:"), std::string::npos);
    EXPECT_NE(text.out.find("Solution:"), std::string::npos);
    EXPECT_EQ(Gen({"--template", "Large Puzzle Squares", "--seed", "3"}).out, text.out)
        << "seeded runs repeat";
}

TEST(CorvanaGen, AClockSeedIsReportedSoThePuzzleCanBeMadeAgain) {
    const GenRun first = Gen({"--template", "Normal Puzzle HTT", "--format", "json"});
    ASSERT_EQ(first.status, 0);
    const auto at = first.out.find("\"seed\": ") + 8;
    const std::string seed = first.out.substr(at, first.out.find(',', at) - at);
    const GenRun again = Gen({"--template", "Normal Puzzle HTT", "--format", "json", "--seed", seed});
    EXPECT_EQ(again.out, first.out);
}
