#include "GenCli.h"

#include "PuzzleJson.h"
#include "corvana/Version.h"
#include "puzzle/Templates.h"
#include "puzzle/modQUAVArrays.h"
#include "seam/Dialogs.h"
#include "solver/Solver.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace corvana {

namespace {

// The command line has no one to answer a message box: messages go to stderr.
class StreamDialogs : public Dialogs {
public:
    explicit StreamDialogs(std::ostream& err) : err_(err) {}
    Answer MessageBox(const std::string& text, const std::string&, Buttons, Icon) override {
        err_ << "corvana-gen: " << text << '\n';
        return Answer::Ok;
    }
    ColorValue PickColor(ColorValue initial) override { return initial; }
    void SetBusy(bool) override {}

private:
    std::ostream& err_;
};

struct Options {
    bool list = false;
    std::string name;
    std::string seedText;
    std::optional<std::uint64_t> seed;
    bool reduced = false;
    bool noFirst = false;
    std::string format = "text";
    bool firstDraw = false;
    std::string solvePath;
};

// A puzzle file is a few kilobytes; anything near this is not one.
constexpr std::size_t kMaxPuzzleFile = 1 << 20;

std::optional<std::uint64_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

void Describe(CLI::App& app, Options& o) {
    app.description("Makes number fill-in puzzles from Corvana's templates, and solves puzzle files.");
    app.set_help_flag("-h,--help", "Print this help and exit");
    app.allow_extras();
    app.add_flag("--list", o.list, "List the template names and exit");
    app.add_option("--template", o.name, "The template to build (see --list)")->type_name("NAME");
    app.add_option("--seed", o.seedText, "Make the puzzle of this seed (0 to 18446744073709551615)")
        ->type_name("N");
    app.add_flag("--reduced", o.reduced, "Reduced Numbers: only the digits 0 to 5");
    app.add_flag("--no-first", o.noFirst, "Don't Show First Number");
    app.add_option("--format", o.format, "Output format")->type_name("text|json");
    app.add_flag("--first-draw", o.firstDraw,
                 "Keep the first builder run even when it has more than one solution");
    app.add_option("--solve", o.solvePath, "Solve a puzzle saved as JSON ('-' reads standard input)")
        ->type_name("FILE");
}

// Reads the arguments; on a bad one returns the error line.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& o, bool& help,
                                 std::string& helpText) {
    CLI::App app{"", "corvana-gen"};
    Describe(app, o);
    helpText = app.help();
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        help = true;
        return std::nullopt;
    } catch (const CLI::ParseError& e) {
        return std::string(e.what());
    }
    if (!app.remaining().empty())
        return "unknown option '" + app.remaining().front() + "' (try --help)";
    const bool haveName = app.count("--template") > 0;
    if (app.count("--seed") > 0) {
        o.seed = ParseSeed(o.seedText);
        if (!o.seed)
            return "malformed seed '" + o.seedText +
                   "' (expected a whole number from 0 to 18446744073709551615)";
    }
    if (o.format != "text" && o.format != "json")
        return "unknown format '" + o.format + "' (expected text or json)";
    if (app.count("--solve") > 0) {
        if (haveName)
            return "--solve reads a puzzle; it does not go with --template";
        return std::nullopt;
    }
    if (!o.list && !haveName)
        return "no template given (use --template NAME or --list)";
    if (haveName && FindTemplate(o.name) == nullptr) {
        std::string names;
        for (const auto& t : Templates())
            names += (names.empty() ? "\"" : ", \"") + std::string(t.name) + "\"";
        return "unknown template '" + o.name + "'; valid names: " + names;
    }
    return std::nullopt;
}

// Writes the whole output and checks that it arrived: a full disk or a closed stream is a
// failure, never a quiet success with half a puzzle.
int Emit(std::ostream& out, std::ostream& err, const std::string& text) {
    errno = 0;
    out << text;
    out.flush();
    if (out)
        return 0;
    const int code = errno;
    err << "corvana-gen: cannot write the output" << (code ? std::string(": ") + std::strerror(code) : "")
        << '\n';
    return 1;
}

void TextGrid(std::ostream& out, const std::vector<std::string>& rows) {
    for (const std::string& row : rows) {
        std::string spaced;
        for (const char c : row)
            spaced += std::string(spaced.empty() ? "" : " ") + c;
        out << "  " << spaced << '\n';
    }
}

void TextLists(std::ostream& out, const ByDigits<NumberList>& numbers,
               const ByDigits<CaptionList>& captions) {
    for (int n = kShortest; n <= kLongest; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (numbers[i].empty())
            continue;
        out << n << " Digits:";
        for (const auto& caption : captions[i])
            out << ' ' << caption;
        out << '\n';
    }
}

std::string SolutionsText(int solutions) {
    return solutions == 1 ? "1 (unique)" : "2 or more";
}

void WriteText(std::ostream& out, const PuzzleState& s, const TemplateRecord& t) {
    const int w = t.Width();
    out << s.PuzzleName << " (" << w << " x " << w << ", seed " << s.Seed << ")\n";
    out << "Reduced Numbers: " << (s.ReducedNumbers ? "on" : "off")
        << "; Don't Show First Number: " << (s.NoShowFirst ? "on" : "off") << '\n';
    out << "Solutions: " << SolutionsText(s.Solutions) << "; draws: " << s.Draws << "\n\n";
    out << "Puzzle (# black square, . empty square):\n";
    TextGrid(out, GridRows(s, s.UserArray));
    out << '\n';
    if (t.SeparateLists()) {
        out << "ACROSS\n";
        TextLists(out, s.Numbers, s.Captions);
        out << "\nDOWN\n";
        TextLists(out, s.NumbersDown, s.CaptionsDown);
    } else {
        TextLists(out, s.Numbers, s.Captions);
    }
    out << "\nSolution:\n";
    TextGrid(out, GridRows(s, s.SolutionArray));
}

// Reads a whole puzzle file, or standard input for "-", refusing one too large to be a puzzle.
std::optional<std::string> ReadPuzzleFile(const std::string& path, std::string& text) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file)
            return "cannot open " + path + ": " + std::strerror(errno);
        in = &file;
    }
    char buffer[8192];
    while (in->read(buffer, sizeof buffer) || in->gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in->gcount()));
        if (text.size() > kMaxPuzzleFile)
            return path + ": more than " + std::to_string(kMaxPuzzleFile) + " bytes; not a puzzle file";
    }
    if (in->bad())
        return "cannot read " + path;
    return std::nullopt;
}

int RunSolve(const Options& o, std::ostream& out, std::ostream& err) {
    const std::string name = o.solvePath == "-" ? "standard input" : o.solvePath;
    std::string text;
    if (const auto error = ReadPuzzleFile(o.solvePath, text)) {
        err << "corvana-gen: " << *error << '\n';
        return 2;
    }
    FillIn puzzle;
    if (const auto error = PuzzleFromJson(text, puzzle)) {
        err << "corvana-gen: " << name << ": " << *error << '\n';
        return 2;
    }
    const SolveResult result = Solve(puzzle, 2);
    if (!result.error.empty() || result.solutions == 0) {
        err << "corvana-gen: " << name << ": "
            << (result.error.empty() ? "the numbers cannot all be placed in this grid with its digits"
                                     : result.error)
            << '\n';
        return 2;
    }
    std::ostringstream text2;
    if (o.format == "json") {
        WritePretty(text2, SolutionsJson(puzzle, result));
    } else {
        text2 << "Solutions: " << SolutionsText(result.solutions) << '\n';
        for (std::size_t k = 0; k < result.grids.size(); ++k) {
            text2 << "\nSolution " << k + 1 << ":\n";
            TextGrid(text2, GridRows(puzzle, result.grids[k]));
        }
    }
    return Emit(out, err, text2.str());
}

} // namespace

int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    bool help = false;
    std::string helpText;
    if (const auto error = Parse(args, o, help, helpText)) {
        err << "corvana-gen: " << *error << '\n';
        return 2;
    }
    if (help)
        return Emit(out, err, helpText);
    if (!o.solvePath.empty())
        return RunSolve(o, out, err);
    if (o.list) {
        std::string names;
        for (const auto& t : Templates())
            names += std::string(t.name) + '\n';
        return Emit(out, err, names);
    }
    PuzzleState state;
    state.PuzzleName = o.name;
    state.ReducedNumbers = o.reduced;
    state.NoShowFirst = o.noFirst;
    StreamDialogs dialogs(err);
    if (!GeneratePuzzle(state, dialogs, o.seed, o.firstDraw ? 1 : kMaxDraws)) {
        err << "corvana-gen: could not build " << o.name << '\n';
        return 1;
    }
    // Build the whole text first, so a failure can never leave half a puzzle on stdout.
    std::ostringstream text;
    const TemplateRecord& record = *FindTemplate(o.name);
    if (o.format == "json")
        WritePretty(text, PuzzleJson(state, record));
    else
        WriteText(text, state, record);
    return Emit(out, err, text.str());
}

} // namespace corvana
