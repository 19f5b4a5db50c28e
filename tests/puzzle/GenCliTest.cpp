#include "GenCli.h"
#include "TempDir.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/PuzzleFile.h"
#include "puzzle/Templates.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string_view>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace corvana;

namespace {

struct GenRun {
    int status;
    std::string out, err;
};

GenRun Gen(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    return {RunGenerator(args, out, err), out.str(), err.str()}; // a braced list runs left to right
}

// What corvana-gen writes as JSON (or ipuz) for these arguments.
const auto Parsed = [](const std::vector<std::string>& args) { return nlohmann::json::parse(Gen(args).out); };

// The puzzle corvana-gen writes as JSON for one template and seed, made alone.
nlohmann::json Alone(std::string_view name, std::uint64_t seed) {
    return Parsed({"--template", std::string(name), "--seed", std::to_string(seed), "--format", "json"});
}

// Whether `text` holds `part`.
const auto Has = [](std::string_view text, std::string_view part) { return text.find(part) != text.npos; };

// How many lines `text` holds (its line ends).
const auto Lines = [](std::string_view text) { return std::count(text.begin(), text.end(), '\n'); };

// The ipuz grids hold a digit, "#", a number for an empty square (read here as '.') or a given
// digit as {"cell": number, "value": digit}. The rows as the JSON output lists them.
nlohmann::json IpuzRows(const nlohmann::json& grid) {
    std::vector<std::string> rows;
    for (const auto& row : grid) {
        rows.emplace_back();
        for (const auto& cell : row)
            rows.back() += cell.is_object()   ? cell["value"].get<std::string>()
                           : cell.is_number() ? "."
                                              : cell.get<std::string>();
    }
    return rows;
}

// Each test's own folder, and in it the puzzle file --solve reads.
struct CorvanaGen : ::testing::Test {
    test::TempDir dir;
    const std::string file = dir.File("puzzle.json");
};

} // namespace

TEST_F(CorvanaGen, BadInputGivesOneLineOnStderrAndStatusTwo) {
    // Each case's arguments apart by '|', an empty one written '' as in a shell.
    for (const char* line :
         {"--template|Small Puzzle Q", "--template|Small Puzzle H|--seed|12x",
          "--template|Small Puzzle H|--seed|''", "--template|Small Puzzle H|--colour",
          "--template|Small Puzzle H|--format|xml", "--template", "--template|all|--count|0",
          "--template|all|--count|many", "--template|all|--jobs|0",
          "--template|all|--pdf|book.pdf|--format|json", "--template|all|--paper|a4",
          "--solve|puzzle.json|--jobs|2", "--template|all|--title|Mine", "--template|all|--grade|Tough",
          "--solve|puzzle.json|--steps|0", "--template|all|--steps|1000", ""}) {
        std::vector<std::string> args;
        std::istringstream in(line);
        for (std::string arg; std::getline(in, arg, '|');)
            args.push_back(arg == "''" ? "" : arg);
        const GenRun r = Gen(args);
        EXPECT_EQ(std::tuple(r.status, r.out, Lines(r.err)), std::tuple(2, std::string(), 1)) << r.err;
    }
    const GenRun unknown = Gen({"--template", "Small Puzzle Q"});
    EXPECT_THAT(unknown.err, testing::HasSubstr("\"Large Puzzle Four Electrodes\""));
}

TEST_F(CorvanaGen, JsonHasTheAgreedKeysAndEveryListOfTheBuildAndTextShowsItAll) {
    const GenRun r = Gen({"--template", "Small Puzzle H", "--seed", "42", "--format", "json", "--reduced"});
    std::size_t at = 0; // where the key before was found
    for (const char* key : {"\"name\": \"Small Puzzle H\"", "\"size\": \"Small\"", "\"width\": 10",
                            "\"seed\": 42", "\"reduced\": true", "\"noShowFirst\": false",
                            "\"starter\": [0, 1]", "\"solution\": [", "\"user\": [", "\"lists\": {",
                            "\"listsDown\": {}", "\"solutions\": 1", "\"draws\": 1", "\"grade\": \"Easy\""})
        ASSERT_NE(at = r.out.find(key, at), std::string::npos) << key << " after the key before\n" << r.out;

    // That the lists are the built puzzle's own is checked where the program reads such a file.
    EXPECT_EQ(nlohmann::json::parse(r.out)["lists"].size(), 3u); // 2, 6 and 10 digits; no unused lengths
    test::WriteText(file, r.out); // and --solve reads them back, a list named "10" too
    EXPECT_EQ(Parsed({"--solve", file, "--format", "json"})["solutions"], 1);

    // The same puzzle as text: the shown starting number, empty and black squares (the first rows and
    // the last), the lists, the solution (its first row; the same printer writes both grids).
    const std::string text = Gen({"--template", "Small Puzzle H", "--seed", "42", "--reduced"}).out;
    EXPECT_EQ(text.substr(0, text.find("  . . . . . . . . . .\n")),
              "Small Puzzle H (10 x 10, seed 42)\n"
              "Reduced Numbers: on; Don't Show First Number: off\n"
              "Solutions: 1 (unique); draws: 1\n"
              "Grade: Easy\n\n"
              "Puzzle (# black square, . empty square):\n"
              "  1 4 # # # # # # . .\n"
              "  . . # # # # # # . .\n");
    const std::string lists = "  . . # # # # # # . .\n\n"
                              "2 Digits: 14 15 23 30 32 33 42 52\n"
                              "6 Digits: 034335 100045 103144 244352 503330 504124\n"
                              "10 Digits: 1544524233 2004452520 2133215234 2531103310 3510403032 4151512031 "
                              "4214455020 4400004330 4534245353 5433404424\n\nSolution:\n"
                              "  1 4 # # # # # # 2 3\n";
    EXPECT_THAT(text, testing::HasSubstr(lists));
}

// A Large puzzle lists ACROSS and DOWN apart; a clock seed is reported so the puzzle can be made again.
TEST_F(CorvanaGen, LargePuzzlesListAcrossAndDownApartAndAClockSeedMakesThePuzzleAgain) {
    std::vector<std::string> args = {"--template", "Large Puzzle Squares", "--format", "json", "--no-first"};
    const GenRun json = Gen(args);
    args.insert(args.end(), {"--seed", nlohmann::json::parse(json.out)["seed"].dump()});
    EXPECT_EQ(Gen(args).out, json.out);
    const GenRun text = Gen({"--template", "Large Puzzle Squares", "--seed", "3"});
    EXPECT_TRUE(Has(text.out, "\n\nACROSS\n3 Digits:") && Has(text.out, "\n\nDOWN\n3 Digits:")) << text.out;
}

TEST_F(CorvanaGen, AFailedWriteIsAFailure) {
    std::ostream out(nullptr); // every write fails, as on a full disk or a closed standard output
    std::ostringstream err;
    EXPECT_EQ(RunGenerator({"--template", "Small Puzzle H", "--seed", "1"}, out, err), 1);
    EXPECT_EQ(Lines(err.str()), 1);
    EXPECT_THAT(err.str(), testing::HasSubstr("cannot write the output"));
}

TEST_F(CorvanaGen, SolveReadsPuzzleFilesAndNamesWhatIsWrongWithDamagedOnes) {
    const GenRun made = Gen({"--template", "Large Puzzle Squares", "--seed", "3", "--format", "json"});
    test::WriteText(file, made.out);
    const GenRun one = Gen({"--solve", file});
    const std::string solved = "Solutions: 1 (unique)\nGrade: Easy\n\n"
                               "Solution 1:\n  # # # 5 1 6 0 3 # # # # 4 8 8 6 2";
    ASSERT_EQ(std::pair(one.status, one.out.substr(0, solved.size())), std::pair(0, solved)) << one.err;
    // The solver's budget is --steps: a puzzle that needs more is answered undecided, with its own status.
    const GenRun cut = Gen({"--solve", file, "--steps", "1"});
    EXPECT_EQ(std::pair(cut.status, cut.out), std::pair(3, std::string()));
    EXPECT_THAT(cut.err, testing::MatchesRegex("corvana-gen: " + file + ": undecided after [0-9]+ steps\n"));

    const auto damaged = [&](const std::string& from, const std::string& to) {
        return std::string(made.out).replace(made.out.find(from), from.size(), to);
    };
    // Each file's text, and what is said of it: the whole message after the file name, or how it begins.
    const std::pair<std::string, std::string> cases[] = {
        {made.out.substr(0, 200), "not JSON: parse error at line 9"},
        {"[1, 2]", "not a puzzle: the JSON is not an object\n"},
        {damaged("\"width\": 20", "\"width\": 19"), "\"user\" is missing or does not have 19 rows\n"},
        {damaged("\"user\": [\"###.....####.....###", "\"user\": [\"###.....####.....##"),
         "\"user\" row 1 is not 20 squares of '#', '.' or a digit\n"},
        {damaged("\"lists\": {\"3\": [\"", "\"lists\": {\"3\": [\"9"),
         "the 3-digit ACROSS list holds \"9541\", which is not a 3-digit number\n"},
        {damaged("\"listsDown\": {\"3\": [", "\"listsDown\": {\"3\": [\"999\", "),
         "the grid has 8 places for the 3-digit DOWN list but it holds 9 numbers\n"},
        {damaged("\"user\": [\"###.....", "\"user\": [\"###99999"),
         "the numbers cannot all be placed in this grid with its digits\n"},
        // Hostile input: a number out of range, nesting one level too deep (17, after a string with
        // an escape in it and the keys before), a huge name.
        {"{\"width\": 1e999}", "not JSON: number overflow parsing '1e999'\n"},
        {"{\"width\": 65}", "\"width\" is missing or not a whole number from 2 to 64\n"},
        {"{\"width\": \"10\"}", "\"width\" is missing or not a whole number from 2 to 64\n"},
        {damaged("\"lists\": {\"3\": [",
                 "\"lists\": {\"3\": [\"\\n\", " + std::string(14, '[') + std::string(14, ']') + ", "),
         "not a puzzle: nested deeper than 16 levels\n"},
        {damaged("\"lists\": {", "\"lists\": 3, \"x\": {"),
         "\"lists\" is missing or not an object of lists\n"},
        {damaged("\"listsDown\"", "\"other\""), "\"listsDown\" is missing or not an object of lists\n"},
        {damaged("\"lists\": {\"3\"", "\"lists\": {\"1/\""),
         "\"lists\" has a list named \"1/\", not a digit count from 2 to 20\n"},
        {damaged("\"lists\": {\"3\"", "\"lists\": {\"" + std::string(100000, 'x') + "\""),
         "\"lists\" has a list named \"" + std::string(40, 'x') + "...\", not a digit count from 2 to 20\n"},
        {damaged("\"lists\": {\"3\": [\"",
                 "\"lists\": {\"3\": [\"" + std::string(38, '7')), // 41 digits: 40 shown
         "the 3-digit ACROSS list holds \"" + std::string(38, '7') +
             "54...\", which is not a 3-digit number\n"}};
    for (const auto& [text, says] : cases) {
        test::WriteText(file, text);
        const GenRun r = Gen({"--solve", file});
        const std::string expected = "corvana-gen: " + file + ": " + says;
        EXPECT_EQ(std::tuple(r.status, r.out, Lines(r.err), r.err.substr(0, expected.size())),
                  std::tuple(2, std::string(), 1, expected));
    }
    // Only a regular file of a puzzle's size is read; a FIFO is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    test::WriteText(file, std::string(300 * 1024, ' '));
    for (const auto& [path, says] :
         {std::pair<std::string, std::string>{dir.File("fifo"), "it is not a regular file\n"},
          {file, "it is too large (more than 262144 bytes)\n"},
          {dir.File("none"), "No such file or directory\n"}}) {
        const GenRun r = Gen({"--solve", path});
        EXPECT_EQ(std::pair(r.status, r.err), std::pair(2, "corvana-gen: cannot read " + path + ": " + says));
    }
}

TEST_F(CorvanaGen, ABatchIsThePuzzlesMadeOneByOneOnAnyNumberOfThreads) {
    const GenRun lines =
        Gen({"--template", "all", "--count", "17", "--seed", "90", "--format", "json", "--jobs", "2"});
    // Not even a progress bar where stderr is not a terminal.
    ASSERT_EQ(std::pair(lines.status, lines.err), std::pair(0, std::string()));
    std::istringstream in(lines.out);
    std::size_t k = 0;
    for (std::string line; std::getline(in, line); ++k)
        EXPECT_EQ(nlohmann::json::parse(line), Alone(Templates()[k % Templates().size()].name, 90 + k)) << k;
    EXPECT_EQ(k, 17u);
    const std::string text =
        Gen({"--template", "Normal Puzzle Steps", "--count", "12", "--seed", "4", "--jobs", "5"}).out;
    EXPECT_EQ(std::count(text.begin(), text.end(), '-'), 11 * 40) << "a line of dashes between puzzles";
}

// A reader that knows only crosswords reads the grid, the givens and the lists in `intro`;
// one that knows extensions finds the lists under keys with a colon.
TEST_F(CorvanaGen, IpuzIsACrosswordFirstWithTheListsInItsIntroAndUnderExtensionKeys) {
    for (const char* name : {"Small Puzzle H", "Large Puzzle Four Electrodes"}) {
        const auto json = Parsed({"--template", name, "--seed", "11", "--format", "json"});
        const auto ipuz = Parsed({"--template", name, "--seed", "11", "--format", "ipuz"});
        EXPECT_EQ(ipuz["kind"], nlohmann::json({"http://ipuz.org/crossword#1", "http://ipuz.org/fill#1"}));
        // The solution, and the givens under "puzzle" alone (no "start" key).
        EXPECT_EQ(std::tuple(IpuzRows(ipuz["solution"]), IpuzRows(ipuz["puzzle"]), ipuz.contains("start")),
                  std::tuple(json["solution"], json["user"], false));
        EXPECT_EQ(std::tuple(ipuz["dimensions"]["width"], ipuz["org.example.corvana:lists"],
                             ipuz["org.example.corvana:listsDown"], ipuz["org.example.corvana:solutions"]),
                  std::tuple(json["width"], json["lists"], json["listsDown"], 1));
        const std::string intro = ipuz["intro"];
        for (const auto& [digits, list] : json["lists"].items()) {
            std::string line = digits + " Digits:";
            for (const auto& number : list)
                line += " " + number.get<std::string>();
            EXPECT_THAT(intro, testing::HasSubstr(line + "\n"));
        }
        EXPECT_EQ(intro.find("DOWN\n") != std::string::npos, !json["listsDown"].empty()) << intro;
        EXPECT_EQ(ipuz["title"], std::string(name) + ", seed 11");
    }
    const auto credited = Parsed({"--template", "Small Puzzle H", "--format", "ipuz", "--title", "Sunday",
                                  "--author", "A. Maker", "--copyright", "(c) A. Maker"});
    EXPECT_EQ((std::vector<nlohmann::json>{credited["title"], credited["author"], credited["copyright"]}),
              (std::vector<nlohmann::json>{"Sunday", "A. Maker", "(c) A. Maker"}));
}

// With the starting number hidden, a grid symmetric about its diagonal reads both ways: every
// output counts the solutions and grades the puzzle as it is given out, as --solve does on it.
TEST_F(CorvanaGen, SolutionsAreCountedAndTheGradeTakenForThePuzzleAsGivenOut) {
    std::vector<std::string> args = {"--template", "Small Puzzle Project X", "--seed", "5", "--no-first"};
    const std::string text = Gen(args).out;
    args.insert(args.end(), {"--format", "json"});
    const GenRun json = Gen(args);
    test::WriteText(file, json.out);
    const auto solved = Parsed({"--solve", file, "--format", "json"});
    // Two solutions, graded Expert (no rule tells the two readings apart), in --solve's answer and
    // in the file as given out; --solve shows both.
    for (const nlohmann::json& j : {solved, nlohmann::json::parse(json.out)})
        EXPECT_EQ(std::tuple(j["solutions"], j["grade"]), std::tuple(2, "Expert"));
    EXPECT_EQ(solved["grids"].size(), 2u);
    args.back() = "ipuz";
    const auto ipuz = Parsed(args);
    EXPECT_EQ(std::tuple(ipuz["org.example.corvana:solutions"], ipuz["difficulty"]), std::tuple(2, "Expert"));
    EXPECT_THAT(text, testing::HasSubstr("Solutions: 2 or more; draws: 1\nGrade: Expert\n"));
    // Project X's first draws are often mirrored even with the starting number shown; --first-draw keeps one.
    EXPECT_EQ(2, Parsed({"--template", "Small Puzzle Project X", "--seed", "8", "--first-draw", "--format",
                         "json"})["solutions"]);
    // Shown, the starting number settles it, and --solve grades the file as it is.
    const GenRun shown = Gen({"--template", "Small Puzzle Project X", "--seed", "5", "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(shown.out)["solutions"], 1);
    test::WriteText(file, shown.out);
    const std::string grade = nlohmann::json::parse(shown.out)["grade"];
    EXPECT_NE(grade, "Expert");
    EXPECT_TRUE(Has(Gen({"--solve", file}).out, "Solutions: 1 (unique)\nGrade: " + grade + "\n\n"));
}

// --grade keeps the first puzzles of the grade among seeds S, S+1, ...: each is the puzzle its
// template and seed give alone, the seeds passed over give other grades, and the threads change
// nothing. A grade out of reach is given up after 1000 seeds in a row.
TEST_F(CorvanaGen, GradeKeepsTheFirstPuzzlesOfItsGradeOnAnyNumberOfThreads) {
    const auto batch = [](const char* jobs) {
        return Gen({"--template", "all", "--count", "4", "--seed", "7", "--grade", "medium", "--format",
                    "json", "--jobs", jobs});
    };
    const GenRun lines = batch("2");
    // Made, and the same as on one thread.
    ASSERT_EQ(std::pair(lines.status, lines.out), std::pair(0, batch("1").out)) << lines.err;
    std::istringstream in(lines.out);
    std::uint64_t seed = 7;
    std::size_t kept = 0;
    for (std::string line; std::getline(in, line); ++kept) {
        const auto j = nlohmann::json::parse(line);
        for (; seed < j["seed"]; ++seed)
            EXPECT_NE(Alone(Templates()[(seed - 7) % Templates().size()].name, seed)["grade"], "Medium")
                << "seed " << seed << " passed over";
        EXPECT_EQ(j, Alone(j["name"].get<std::string>(), seed++));
        EXPECT_EQ(j["grade"], "Medium");
    }
    EXPECT_EQ(kept, 4u);

    const GenRun none =
        Gen({"--template", "Small Puzzle H", "--seed", "1", "--grade", "Expert", "--count", "2"});
    EXPECT_EQ(std::pair(none.status, none.out), std::pair(2, std::string()));
    EXPECT_EQ(none.err, "corvana-gen: no Expert puzzle of Small Puzzle H in 1000 seeds in a row "
                        "(seeds 1 to 1000); 0 of 2 found\n");
}

// The puzzle files the program opens are what corvana-gen writes.
TEST(PuzzleFile, ReadsWhatCorvanaGenWritesAsTheSamePuzzle) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"--template", "Normal Puzzle Shield", "--seed", "18446744073709551615", "--reduced"},
             {"--template", "Large Puzzle Four Electrodes", "--seed", "77", "--no-first"}}) {
        PuzzleState built;
        built.PuzzleName = args[1];
        built.ReducedNumbers = args.back() == "--reduced";
        built.NoShowFirst = args.back() == "--no-first";
        ASSERT_TRUE(GeneratePuzzle(built, std::stoull(args[3])));

        args.insert(args.end(), {"--format", "json"});
        // What corvana-gen wrote, and the same with a key a later version may add.
        nlohmann::json written = Parsed(args), j = written;
        j["a key of a later version"] = {1, 2};
        j["draws"] = written["draws"] = kMaxDraws; // the most a file may say
        j.erase("solutions"); // a puzzle made without the one-solution check: none counted
        written["solutions"] = 0;
        PuzzleState read;
        std::string error;
        ASSERT_TRUE(PuzzleForPlayFromJson(j, read, error)) << error;
        // The file holds every field but the numbers and the pattern, which are read from the grid.
        EXPECT_EQ(std::tie(read.GridPattern, read.Numbers, read.NumbersDown),
                  std::tie(built.GridPattern, built.Numbers, built.NumbersDown));
        written.erase("grade"); // corvana-gen's own, for puzzle makers
        EXPECT_EQ(PuzzleToJson(read), written);
    }
}

// A damaged or hostile puzzle file is refused with a short reason that names the field.
TEST(PuzzleFile, ADamagedPuzzleIsRefusedWithAShortReason) {
    PuzzleState s;
    s.PuzzleName = "Small Puzzle H";
    ASSERT_TRUE(GeneratePuzzle(s, 3));
    const auto with = [&s](const char* pointer, nlohmann::json value) {
        nlohmann::json j = PuzzleToJson(s);
        j[nlohmann::json::json_pointer(pointer)] = std::move(value);
        return j.dump();
    };
    const std::pair<std::string, std::string> cases[] = {
        {with("/width", 11), "its width is not that of Small Puzzle H"},
        {"[1, 2]", "it is not a puzzle (no JSON object)"},
        {"{}", "it names no template"},
        {with("/name", 7), "it names no template"},
        {with("/seed", -1), "\"seed\" must be a whole number"},
        {with("/noShowFirst", 0), "\"reduced\" and \"noShowFirst\" must be true or false"},
        {with("/reduced", 1), "\"reduced\" and \"noShowFirst\" must be true or false"},
        {with("/solution", nlohmann::json::array()), "\"solution\" must list 10 rows"},
        {with("/lists", 3), "\"lists\" is missing"},
        {with("/starter", {0, 2}), "\"starter\" is not the starting number of Small Puzzle H"},
        {with("/solution/2", "509\177777253"), "\"solution\" has '?' in row 3, column 4"}, // \177: DEL
        {with("/user/1", ".........."),
         "\"user\" does not have the black squares of Small Puzzle H (row 2, column 3)"},
        {"{\"name\": \"Small Puzzle H\", \"width\": 1e999}", "it is not JSON"},
        // A name of 40 characters is shown whole; brackets inside a text are no nesting; a longer name
        // is cut short.
        {"{\"name\": \"" + std::string(40, 'N') + "\"}",
         "\"" + std::string(40, 'N') + "\" is no template of this program"},
        {"{\"a\": \"\\\"[[[[[[[[[[[[[[[[[[[[[[[[[\", \"name\": \"" + std::string(50000, 'N') + "\"}",
         "\"" + std::string(40, 'N') + "...\" is no template of this program"}};
    for (const auto& [text, reason] : cases) {
        PuzzleState read;
        std::string error;
        EXPECT_EQ((std::pair{PuzzleForPlayFromText(text, read, error), error}), std::pair(false, reason));
    }
}

#ifdef CORVANA_GEN_PDF
// A book goes to a regular file (through a link to one) or to standard output; a device, a FIFO
// or a folder at the path is refused with one line, a missing folder fails with one, and nothing
// is written anywhere.
TEST_F(CorvanaGen, ABookGoesOnlyToAFileOrAPipe) {
    namespace fs = std::filesystem;
    ASSERT_EQ(::mknod(dir.File("device").c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.File("folder"));
    for (const char* name : {"device", "fifo", "folder"}) {
        const GenRun r = Gen({"--template", "all", "--count", "2", "--pdf", dir.File(name)});
        EXPECT_EQ(std::tuple(r.status, Lines(r.err)), std::tuple(2, 1)) << name << ": " << r.err;
        EXPECT_THAT(r.err, testing::HasSubstr("nothing written"));
    }
    EXPECT_TRUE(fs::is_character_file(dir.File("device")) && fs::is_fifo(dir.File("fifo")) &&
                fs::is_empty(dir.File("folder")));
    const GenRun failed = Gen({"--template", "all", "--count", "2", "--pdf", dir.File("missing/book.pdf")});
    EXPECT_EQ(std::tuple(failed.status, Lines(failed.err)), std::tuple(1, 1)) << failed.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3) << "no temporary file left";

    fs::create_directory(dir.File("books"));
    fs::create_symlink("books/real.pdf", dir.File("link.pdf"));
    ASSERT_EQ(Gen({"--template", "all", "--seed", "9", "--pdf", dir.File("link.pdf")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.pdf")));
    EXPECT_EQ(test::ReadText(dir.File("books/real.pdf")).rfind("%PDF", 0), 0u);

    // Standard output: a pipe takes the book, the same to the byte as the file from this process,
    // and a terminal does not. Nothing else is said on the way, not even Qt's notes on its own
    // setup (no XDG_RUNTIME_DIR).
    int status = -1;
    const std::string piped = test::Shell(
        "env -u XDG_RUNTIME_DIR '" CORVANA_GEN_BINARY "' --template all --seed 9 --pdf - 2>&1", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(piped == test::ReadText(dir.File("books/real.pdf"))) << "another process, another book";
    std::ostringstream out, err;
    EXPECT_EQ(RunGenerator({"--template", "all", "--pdf", "-"}, out, err, {true, true, true}), 2);
    EXPECT_TRUE(out.str().empty());
}

// The same options give the same bytes: the date is SOURCE_DATE_EPOCH's, or else one made from
// the options, whatever the clock and the time zone say.
TEST_F(CorvanaGen, TheSameOptionsGiveTheSameBook) {
    const auto book = [&](const std::string& name, const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        const GenRun r = Gen({"--template", "all", "--count", "16", "--seed", "2", "--pdf", dir.File(name)});
        EXPECT_STREQ(::getenv("TZ"), zone) << "the caller's time zone is left as it was";
        ::unsetenv("TZ");
        ::tzset();
        EXPECT_EQ(r.status, 0) << r.err;
        return test::ReadText(dir.File(name));
    };
    const std::string first = book("first.pdf", "UTC0");
    ::sleep(1);
    EXPECT_TRUE(first == book("again.pdf", "EST5EDT")) << "the books differ";
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const std::string dated = book("dated.pdf", "UTC0");
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_NE(dated.find("/CreationDate (D:20231114221320Z)"), std::string::npos); // no PDF bytes on failure
    // Stamping the date moves no byte from where the cross-reference table says it is.
    EXPECT_EQ(dated.substr(std::stoul(dated.substr(dated.rfind("startxref") + 10)), 4), "xref");
}
#endif
