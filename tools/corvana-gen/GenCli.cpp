#include "GenCli.h"

#include "GenOutput.h"
#include "InOrder.h"
#ifdef CORVANA_GEN_PDF
#include "print/PuzzleBook.h"
#endif
#include "corvana/Version.h"
#include "files/FileAccess.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/PuzzleFile.h"
#include "puzzle/PuzzleState.h"
#include "puzzle/RandomSource.h"
#include "puzzle/Templates.h"
#include "solver/Rules.h"
#include "solver/Solver.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <optional>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace corvana {

namespace {

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
    std::string countText;
    std::uint64_t count = 1;
    std::string jobsText;
    int jobs = 1;
    std::string pdfPath;
    std::string paper = "a4";
    IpuzCredits credits;
    std::string stepsText;
    std::int64_t steps = kSolveBudget; // --steps: the search's budget for --solve
    std::string gradeText;
    std::optional<Grade> grade; // --grade: only puzzles of this grade are kept
    bool batch = false;         // --count or --template all: puzzle after puzzle
};

constexpr const char* kAllTemplates = "all";
constexpr std::uint64_t kMaxCount = 1000000000;
// --steps may raise the budget a hundredfold: minutes of search, never an endless one.
constexpr std::uint64_t kMaxSteps = static_cast<std::uint64_t>(kSolveBudget) * 100;

// --grade gives up after this many seeds in a row without a puzzle of the grade: some grades
// are out of reach of some templates and options.
constexpr std::uint64_t kGradeTries = 1000;

// --solve's exit status when the search ran out of steps before it could count the solutions.
constexpr int kUndecided = 3;

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
    app.add_option("--format", o.format, "Output format")->type_name("text|json|ipuz");
    app.add_flag("--first-draw", o.firstDraw,
                 "Keep the first builder run even when it has more than one solution");
    app.add_option("--solve", o.solvePath,
                   "Solve a puzzle saved as JSON ('-' reads standard input); exit status 3 when the "
                   "solver's step budget runs out first (\"undecided after N steps\")")
        ->type_name("FILE");
    app.add_option("--steps", o.stepsText,
                   "With --solve: the search steps to spend before saying undecided (default " +
                       std::to_string(kSolveBudget) + ")")
        ->type_name("N");
    app.add_option("--count", o.countText,
                   "Make N puzzles, of seeds S, S+1, ... ('--template all' takes every "
                   "template in turn)")
        ->type_name("N");
    app.add_option("--grade", o.gradeText,
                   "Keep only the puzzles of this grade, from seeds S, S+1, ... until --count are found")
        ->type_name("Easy|Medium|Hard|Expert");
    app.add_option("--jobs", o.jobsText, "Make puzzles on N threads (default: one per core)")->type_name("N");
    app.add_option("--pdf", o.pdfPath, "Write a puzzle book with the solutions at the back")
        ->type_name("FILE");
    app.add_option("--paper", o.paper, "The book's paper")->type_name("a4|letter");
    app.add_option("--title", o.credits.title, "The title of an ipuz puzzle or a book")->type_name("TEXT");
    app.add_option("--author", o.credits.author, "The author named in an ipuz puzzle or a book")
        ->type_name("TEXT");
    app.add_option("--copyright", o.credits.copyright, "The copyright line of an ipuz puzzle or a book")
        ->type_name("TEXT");
}

// A whole number from 1 to `most`, or nothing.
std::optional<std::uint64_t> ParseCount(const std::string& text, std::uint64_t most) {
    const auto value = ParseSeed(text);
    if (!value || *value == 0 || *value > most)
        return std::nullopt;
    return value;
}

// A grade named in any case, or nothing.
std::optional<Grade> ParseGrade(const std::string& text) {
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Grade grade : {Grade::Easy, Grade::Medium, Grade::Hard, Grade::Expert}) {
        std::string name = GradeName(grade);
        name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
        if (lower == name)
            return grade;
    }
    return std::nullopt;
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
    if (o.format != "text" && o.format != "json" && o.format != "ipuz")
        return "unknown format '" + o.format + "' (expected text, json or ipuz)";
    if (app.count("--count") > 0) {
        const auto count = ParseCount(o.countText, kMaxCount);
        if (!count)
            return "malformed count '" + o.countText + "' (expected a whole number from 1 to " +
                   std::to_string(kMaxCount) + ")";
        o.count = *count;
        o.batch = true;
    }
    if (app.count("--grade") > 0) {
        o.grade = ParseGrade(o.gradeText);
        if (!o.grade)
            return "unknown grade '" + o.gradeText + "' (expected Easy, Medium, Hard or Expert)";
    }
    o.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (app.count("--jobs") > 0) {
        const auto jobs = ParseCount(o.jobsText, 256);
        if (!jobs)
            return "malformed number of jobs '" + o.jobsText + "' (expected a whole number from 1 to 256)";
        o.jobs = static_cast<int>(*jobs);
    }
    if (o.paper != "a4" && o.paper != "letter")
        return "unknown paper '" + o.paper + "' (expected a4 or letter)";
    if (app.count("--pdf") > 0) {
        if (app.count("--format") > 0)
            return "--pdf writes a book; it does not go with --format";
        if (o.pdfPath.empty())
            return "--pdf needs a file name";
#ifndef CORVANA_GEN_PDF
        return "this corvana-gen was built without the puzzle book";
#endif
    } else if (app.count("--paper") > 0) {
        return "--paper goes with --pdf";
    }
    const bool credited = app.count("--title") + app.count("--author") + app.count("--copyright") > 0;
    if (credited && o.format != "ipuz" && app.count("--pdf") == 0)
        return "--title, --author and --copyright go with --format ipuz or --pdf";
    if (app.count("--steps") > 0) {
        const auto steps = ParseCount(o.stepsText, kMaxSteps);
        if (!steps)
            return "malformed number of steps '" + o.stepsText + "' (expected a whole number from 1 to " +
                   std::to_string(kMaxSteps) + ")";
        if (app.count("--solve") == 0)
            return "--steps goes with --solve";
        o.steps = static_cast<std::int64_t>(*steps);
    }
    if (app.count("--solve") > 0) {
        for (const char* other : {"--template", "--seed", "--count", "--jobs", "--pdf", "--reduced",
                                  "--no-first", "--first-draw", "--grade"})
            if (app.count(other) > 0)
                return std::string("--solve reads a puzzle; it does not go with ") + other;
        if (o.format == "ipuz")
            return "--solve writes text or json";
        return std::nullopt;
    }
    if (!o.list && !haveName)
        return "no template given (use --template NAME or --list)";
    if (o.name == kAllTemplates)
        o.batch = true;
    else if (haveName && FindTemplate(o.name) == nullptr) {
        std::string names;
        for (const auto& t : Templates())
            names += (names.empty() ? "\"" : ", \"") + std::string(t.name) + "\"";
        return "unknown template '" + o.name + "'; valid names: " + names + ", or \"" + kAllTemplates + "\"";
    }
    return std::nullopt;
}

// Writes the whole output and checks that it arrived: a full disk or a closed stream is a
// failure, never a quiet success with half a puzzle.
int Written(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out)
        return 0;
    const int code = errno;
    err << "corvana-gen: cannot write the output" << (code ? std::string(": ") + std::strerror(code) : "")
        << '\n';
    return 1;
}

int Emit(std::ostream& out, std::ostream& err, const std::string& text) {
    errno = 0;
    out << text;
    return Written(out, err);
}

void TextGrid(std::ostream& out, const std::vector<std::string>& rows) {
    for (const std::string& row : rows) {
        std::string spaced;
        for (const char c : row)
            spaced += std::string(spaced.empty() ? "" : " ") + c;
        out << "  " << spaced << '\n';
    }
}

std::string SolutionsText(int solutions) {
    return solutions == 1 ? "1 (unique)" : "2 or more";
}

void WriteText(std::ostream& out, const PuzzleState& s, const TemplateRecord& t, Grade grade) {
    const int w = t.Width();
    out << s.PuzzleName << " (" << w << " x " << w << ", seed " << s.Seed << ")\n";
    out << "Reduced Numbers: " << (s.ReducedNumbers ? "on" : "off")
        << "; Don't Show First Number: " << (s.NoShowFirst ? "on" : "off") << '\n';
    out << "Solutions: " << SolutionsText(s.Solutions) << "; draws: " << s.Draws << '\n';
    out << "Grade: " << GradeName(grade) << "\n\n";
    out << "Puzzle (# black square, . empty square):\n";
    TextGrid(out, GridRows(s.GridPattern, s.UserArray, w));
    out << '\n';
    out << ListsText(s, t);
    out << "\nSolution:\n";
    TextGrid(out, GridRows(s.GridPattern, s.SolutionArray, w));
}

// The text of a puzzle file, or of standard input for "-", bounded alike; a FIFO, a device or a
// folder named as the file is refused without waiting on it.
bool ReadPuzzleInput(const std::string& path, std::string& text, std::string& error) {
    return path == "-" ? ReadToEnd(STDIN_FILENO, kMaxPuzzleFileBytes, text, error)
                       : ReadPuzzleFileText(path, text, error);
}

int RunSolve(const Options& o, std::ostream& out, std::ostream& err) {
    const std::string name = o.solvePath == "-" ? "standard input" : o.solvePath;
    std::string text;
    std::string readError;
    if (!ReadPuzzleInput(o.solvePath, text, readError)) {
        err << "corvana-gen: cannot read " << name << ": " << readError << '\n';
        return 2;
    }
    FillIn puzzle;
    if (const auto error = FillInFromText(text, puzzle)) {
        err << "corvana-gen: " << name << ": " << *error << '\n';
        return 2;
    }
    const SolveResult result = Solve(puzzle, 2, o.steps);
    if (result.undecided) {
        err << "corvana-gen: " << name << ": undecided after " << result.steps << " steps\n";
        return kUndecided;
    }
    const Grade grade = GradePuzzle(puzzle);
    if (!result.error.empty() || result.solutions == 0) {
        err << "corvana-gen: " << name << ": "
            << (result.error.empty() ? "the numbers cannot all be placed in this grid with its digits"
                                     : result.error)
            << '\n';
        return 2;
    }
    std::ostringstream text2;
    if (o.format == "json") {
        WritePretty(text2, SolutionsJson(puzzle, result, grade));
    } else {
        text2 << "Solutions: " << SolutionsText(result.solutions) << '\n';
        text2 << "Grade: " << GradeName(grade) << '\n';
        for (std::size_t k = 0; k < result.grids.size(); ++k) {
            text2 << "\nSolution " << k + 1 << ":\n";
            TextGrid(text2, GridRows(puzzle.white, result.grids[k], puzzle.width));
        }
    }
    return Emit(out, err, text2.str());
}

// A puzzle made for the output: its text, and the puzzle itself when a book needs it.
struct Made {
    bool ok = false;
    std::string text;
    std::string messages; // what the build reported, printed in order
    Grade grade = Grade::Expert;
    bool wanted = true; // of the grade --grade asks for, or no grade was asked for
    PuzzleState state;
};

const TemplateRecord& TemplateOf(const Options& o, std::uint64_t k) {
    if (o.name == kAllTemplates)
        return Templates()[static_cast<std::size_t>(k % Templates().size())];
    return *FindTemplate(o.name);
}

// One puzzle's output; text puzzles of a batch are parted by a line of dashes, written by the caller.
std::string Format(const Options& o, const PuzzleState& s, const TemplateRecord& t, Grade grade) {
    std::ostringstream text;
    if (o.format == "text") {
        WriteText(text, s, t, grade);
        return text.str();
    }
    const Json j = o.format == "ipuz" ? IpuzJson(s, t, grade, o.credits) : PuzzleJson(s, grade);
    if (o.batch)
        return j.dump() + '\n';
    WritePretty(text, j);
    return text.str();
}

Made MakePuzzle(const Options& o, std::uint64_t firstSeed, std::uint64_t k, bool keep) {
    const TemplateRecord& t = TemplateOf(o, k);
    Made made;
    PuzzleState& s = made.state;
    s.PuzzleName = std::string(t.name);
    s.ReducedNumbers = o.reduced;
    s.NoShowFirst = o.noFirst;
    const GenerateResult generated = GeneratePuzzle(s, firstSeed + k, o.firstDraw ? 1 : kMaxDraws);
    made.ok = generated.ok;
    if (!generated.message.empty())
        made.messages = "corvana-gen: " + generated.message + '\n';
    // What the outputs report is the puzzle a solver gets, starting number hidden or not.
    if (made.ok) {
        s.Solutions = SolutionsAsGivenOut(s);
        made.grade = GradeAsGivenOut(s);
        made.wanted = !o.grade || made.grade == *o.grade;
    }
    if (made.ok && made.wanted && !keep)
        made.text = Format(o, s, t, made.grade);
    if (!keep || !made.wanted)
        s = PuzzleState();
    return made;
}

// Count, bar and time left on a terminal's stderr, once a run has taken more than a moment.
class Progress {
public:
    Progress(std::ostream& err, bool terminal, std::uint64_t total, const char* what)
        : err_(err), on_(terminal), total_(total), what_(what), start_(Clock::now()), last_(start_) {}
    ~Progress() { Clear(); }

    void Update(std::uint64_t done) {
        if (!on_)
            return;
        const auto now = Clock::now();
        if (now - start_ < std::chrono::milliseconds(500) ||
            (shown_ && now - last_ < std::chrono::milliseconds(100)))
            return;
        last_ = now;
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        const double left =
            done == 0 ? 0 : elapsed * static_cast<double>(total_ - done) / static_cast<double>(done);
        const int filled = static_cast<int>(30 * done / std::max<std::uint64_t>(total_, 1));
        std::ostringstream line;
        line << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(30 - filled), ' ') << "] " << done << '/' << total_
             << ' ' << what_ << ", about " << static_cast<long>(left + 0.5) << " s left ";
        err_ << line.str() << std::flush;
        width_ = line.str().size();
        shown_ = true;
    }
    void SetTotal(std::uint64_t total) { total_ = total; }
    void Clear() {
        if (shown_)
            err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
        shown_ = false;
    }

private:
    using Clock = std::chrono::steady_clock;
    std::ostream& err_;
    bool on_;
    std::uint64_t total_;
    const char* what_;
    Clock::time_point start_;
    Clock::time_point last_;
    bool shown_ = false;
    std::size_t width_ = 0;
};

#ifdef CORVANA_GEN_PDF
// The book's date: SOURCE_DATE_EPOCH when it is set, as reproducible builds agree; otherwise a
// date made from everything that shapes the book, so the same command gives the same bytes.
std::int64_t BookDate(const Options& o, std::uint64_t firstSeed) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"))
        if (const auto seconds = ParseSeed(epoch); seconds && *seconds <= 253402300799u) // to 9999
            return static_cast<std::int64_t>(*seconds);
    std::uint64_t hash = 14695981039346656037u;
    const auto mix = [&](const std::string& text) {
        for (const char c : text + '\0')
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    };
    for (const std::string& part :
         {o.name, std::to_string(o.count), std::to_string(firstSeed),
          std::string(o.reduced ? "r" : "") + (o.noFirst ? "n" : "") + (o.firstDraw ? "f" : ""), o.paper,
          o.credits.title, o.credits.author, o.credits.copyright})
        mix(part);
    // Some second of the years 2000 to 2029.
    constexpr std::int64_t kFrom = 946684800, kSpan = 30LL * 365 * 24 * 3600;
    return kFrom + static_cast<std::int64_t>(hash % static_cast<std::uint64_t>(kSpan));
}

BookSettings MakeBookSettings(const Options& o, std::uint64_t firstSeed) {
    BookSettings book;
    book.paper = o.paper == "letter" ? Paper::Letter : Paper::A4;
    book.count = static_cast<int>(o.count);
    // With --grade any seed may give a kept puzzle, so any template of the run may be in the book.
    const std::uint64_t shapes = o.grade && o.name == kAllTemplates ? Templates().size() : o.count;
    for (std::uint64_t k = 0; k < std::min<std::uint64_t>(shapes, Templates().size()); ++k)
        book.templates.push_back(&TemplateOf(o, k));
    // The rules finish only a puzzle with one solution, mirrored grid or not.
    book.unique = o.grade && *o.grade != Grade::Expert;
    book.starterShown = !o.noFirst;
    book.checked = !o.firstDraw;
    book.title = o.credits.title;
    book.author = o.credits.author;
    book.copyright = o.credits.copyright;
    book.date = BookDate(o, firstSeed);
    return book;
}
#endif

int RunPuzzles(const Options& o, std::ostream& out, std::ostream& err, Terminals terminals) {
    const std::uint64_t firstSeed = o.seed ? *o.seed : RandomSource::ClockSeed();
    const bool book = !o.pdfPath.empty();
    // A bar redrawn on the terminal the puzzles are printed on would land in the middle of them.
    const bool showProgress = terminals.err && (!terminals.outIsErr || (book && o.pdfPath != "-"));
    Progress progress(err, showProgress && (o.batch || book), o.count, book ? "pages" : "puzzles");
    int status = 0;
    std::optional<std::string> bookError;
#ifdef CORVANA_GEN_PDF
    // The book is checked and started before the first puzzle is made: a target that is not a
    // file is refused with nothing written, and pages are drawn as the puzzles come.
    std::optional<PuzzleBook> pdf;
    AtomicFileWriter file;
    const std::string cannot = "cannot write the puzzle book " + o.pdfPath;
    if (book) {
        std::string target = "-", error;
        if (o.pdfPath == "-") {
            if (terminals.out) {
                err << "corvana-gen: --pdf - would print the book on the terminal; send it to a file or a "
                       "pipe\n";
                return 2;
            }
        } else if (!OutputFile(o.pdfPath, target, error)) {
            err << "corvana-gen: " << cannot << ": " << error << "; nothing written\n";
            return 2;
        } else if (!file.Open(target, FileMode::Usual, error)) {
            err << "corvana-gen: " << cannot << ": " << error << '\n';
            return 1;
        }
        BookSettings settings = MakeBookSettings(o, firstSeed);
        settings.progress = [&](int done, int total) {
            progress.SetTotal(static_cast<std::uint64_t>(total));
            progress.Update(static_cast<std::uint64_t>(done));
        };
        pdf.emplace(std::move(settings));
        PuzzleBook::Sink sink = [&](const char* data, std::size_t size) { return file.Write(data, size); };
        if (o.pdfPath == "-")
            sink = [&](const char* data, std::size_t size) {
                out.write(data, static_cast<std::streamsize>(size));
                return static_cast<bool>(out);
            };
        bookError = pdf->Begin(std::move(sink));
    }
#endif
    // Texts go out as they are made, so a long batch streams; a single puzzle is one write.
    // Without --grade every puzzle made is kept; with it the seeds go on until `count` puzzles of
    // the grade are kept, and which ones those are depends only on the seeds, never on --jobs.
    const std::uint64_t candidates = o.grade ? std::numeric_limits<std::uint64_t>::max() : o.count;
    std::uint64_t kept = 0;
    std::uint64_t missed = 0; // seeds in a row without a puzzle of the grade
    errno = 0;
    const auto take = [&](std::uint64_t k, Made&& made) {
        if (!made.messages.empty()) {
            progress.Clear();
            err << made.messages;
        }
        if (!made.ok) {
            progress.Clear();
            err << "corvana-gen: could not build " << TemplateOf(o, k).name << " (seed " << firstSeed + k
                << ")\n";
            status = 1;
            return false;
        }
        if (!made.wanted) {
            if (++missed < kGradeTries)
                return true;
            progress.Clear();
            err << "corvana-gen: no " << GradeName(*o.grade) << " puzzle "
                << (o.name == kAllTemplates ? std::string("of any template")
                                            : "of " + std::string(TemplateOf(o, k).name))
                << " in " << kGradeTries << " seeds in a row (seeds " << firstSeed + k - (kGradeTries - 1)
                << " to " << firstSeed + k << "); " << kept << " of " << o.count << " found\n";
            status = 2;
            return false;
        }
        missed = 0;
#ifdef CORVANA_GEN_PDF
        if (book) {
            bookError = pdf->Add(made.state, GradeName(made.grade));
            return !bookError && ++kept < o.count;
        }
#endif
        if (o.format == "text" && o.batch && kept > 0)
            out << '\n' << std::string(40, '-') << "\n\n";
        out << made.text;
        ++kept;
        if (!book)
            progress.Update(kept);
        return static_cast<bool>(out) && kept < o.count;
    };
    if (!bookError)
        MakeInOrder<Made>(
            candidates, o.jobs, [&](std::uint64_t k) { return MakePuzzle(o, firstSeed, k, book); }, take);
    const bool finished = status == 0 && !bookError && kept == o.count;
#ifdef CORVANA_GEN_PDF
    if (book && finished)
        bookError = pdf->Finish();
#endif
    progress.Clear();
    if (status != 0)
        return status;
#ifdef CORVANA_GEN_PDF
    if (book) {
        std::string error;
        if (!bookError && o.pdfPath != "-" && !file.Commit(error))
            bookError = cannot + ": " + error;
        if (bookError) {
            if (file.WriteError() != 0)
                bookError = cannot + ": " + std::strerror(file.WriteError());
            else if (o.pdfPath == "-" && !out)
                bookError = "cannot write the output";
            err << "corvana-gen: " << *bookError << '\n';
            return 1;
        }
    }
#endif
    if (Written(out, err) != 0)
        return 1;
    return finished ? 0 : 1;
}

} // namespace

int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 Terminals terminals) {
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
    return RunPuzzles(o, out, err, terminals);
}

} // namespace corvana
