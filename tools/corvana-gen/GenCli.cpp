#include "GenCli.h"

#include "corvana/Version.h"
#include "puzzle/Templates.h"
#include "puzzle/modQUAVArrays.h"
#include "seam/Dialogs.h"

#include <cstdint>
#include <optional>
#include <sstream>

namespace corvana {

namespace {

constexpr const char* kUsage =
    "usage: corvana-gen --list\n"
    "       corvana-gen --template NAME [--seed N] [--reduced] [--no-first] [--format text|json]\n";

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
    bool help = false;
    std::string name;
    bool haveName = false;
    std::optional<std::uint64_t> seed;
    bool reduced = false;
    bool noFirst = false;
    bool json = false;
};

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

// Parses the arguments; on a bad one returns the error line.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--list") {
            o.list = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--reduced") {
            o.reduced = true;
        } else if (a == "--no-first") {
            o.noFirst = true;
        } else if (a == "--template") {
            if (!hasValue)
                return "--template needs a template name";
            o.name = args[++i];
            o.haveName = true;
        } else if (a == "--seed") {
            if (!hasValue)
                return "--seed needs a number";
            o.seed = ParseSeed(args[++i]);
            if (!o.seed)
                return "malformed seed '" + args[i] +
                       "' (expected a whole number from 0 to 18446744073709551615)";
        } else if (a == "--format") {
            if (!hasValue)
                return "--format needs text or json";
            const std::string& f = args[++i];
            if (f != "text" && f != "json")
                return "unknown format '" + f + "' (expected text or json)";
            o.json = f == "json";
        } else {
            return "unknown option '" + a + "' (try --help)";
        }
    }
    if (!o.list && !o.help && !o.haveName)
        return "no template given (use --template NAME or --list)";
    if (o.haveName && FindTemplate(o.name) == nullptr) {
        std::string names;
        for (const auto& t : Templates())
            names += (names.empty() ? "\"" : ", \"") + std::string(t.name) + "\"";
        return "unknown template '" + o.name + "'; valid names: " + names;
    }
    return std::nullopt;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// Row r of a grid: '#' black, else the digit, or `empty` where the value is -1.
std::string GridRow(const PuzzleState& s, const std::vector<std::int16_t>& values, int width, int row,
                    char empty) {
    std::string line;
    for (int c = 0; c < width; ++c) {
        const auto i = static_cast<std::size_t>(row * width + c);
        if (!s.GridPattern[i])
            line += '#';
        else if (values[i] < 0)
            line += empty;
        else
            line += static_cast<char>('0' + values[i]);
    }
    return line;
}

void JsonGrid(std::ostream& out, const PuzzleState& s, const std::vector<std::int16_t>& values, int width,
              char empty) {
    out << '[';
    for (int r = 0; r < width; ++r)
        out << (r ? ", " : "") << JsonString(GridRow(s, values, width, r, empty));
    out << ']';
}

void JsonLists(std::ostream& out, const ByDigits<NumberList>& numbers,
               const ByDigits<CaptionList>& captions) {
    out << '{';
    bool first = true;
    for (int n = kShortest; n <= kLongest; ++n) {
        const auto i = static_cast<std::size_t>(n);
        if (numbers[i].empty())
            continue;
        out << (first ? "" : ", ") << '"' << n << "\": [";
        for (std::size_t k = 0; k < captions[i].size(); ++k)
            out << (k ? ", " : "") << JsonString(captions[i][k]);
        out << ']';
        first = false;
    }
    out << '}';
}

void WriteJson(std::ostream& out, const PuzzleState& s, const TemplateRecord& t) {
    const int w = t.Width();
    out << "{\n  \"name\": " << JsonString(s.PuzzleName) << ",\n  \"size\": \"" << SizeClassName(t.size)
        << "\",\n  \"width\": " << w << ",\n  \"seed\": " << s.Seed
        << ",\n  \"reduced\": " << (s.ReducedNumbers ? "true" : "false")
        << ",\n  \"noShowFirst\": " << (s.NoShowFirst ? "true" : "false") << ",\n  \"starter\": ["
        << s.StarterFirstCell << ", " << s.StarterLastCell << "],\n  \"solution\": ";
    JsonGrid(out, s, s.SolutionArray, w, '.');
    out << ",\n  \"user\": ";
    JsonGrid(out, s, s.UserArray, w, '.');
    out << ",\n  \"lists\": ";
    JsonLists(out, s.Numbers, s.Captions);
    out << ",\n  \"listsDown\": ";
    if (t.SeparateLists())
        JsonLists(out, s.NumbersDown, s.CaptionsDown);
    else
        out << "{}";
    out << "\n}\n";
}

void TextGrid(std::ostream& out, const PuzzleState& s, const std::vector<std::int16_t>& values, int width) {
    for (int r = 0; r < width; ++r) {
        const std::string row = GridRow(s, values, width, r, '.');
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

void WriteText(std::ostream& out, const PuzzleState& s, const TemplateRecord& t) {
    const int w = t.Width();
    out << s.PuzzleName << " (" << w << " x " << w << ", seed " << s.Seed << ")\n";
    out << "Reduced Numbers: " << (s.ReducedNumbers ? "on" : "off")
        << "; Don't Show First Number: " << (s.NoShowFirst ? "on" : "off") << "\n\n";
    out << "Puzzle (# black square, . empty square):\n";
    TextGrid(out, s, s.UserArray, w);
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
    TextGrid(out, s, s.SolutionArray, w);
}

} // namespace

int RunGenerator(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    if (const auto error = Parse(args, o)) {
        err << "corvana-gen: " << *error << '\n';
        return 2;
    }
    if (o.help) {
        out << kUsage;
        return 0;
    }
    if (o.list) {
        for (const auto& t : Templates())
            out << t.name << '\n';
        return 0;
    }
    PuzzleState state;
    state.PuzzleName = o.name;
    state.ReducedNumbers = o.reduced;
    state.NoShowFirst = o.noFirst;
    StreamDialogs dialogs(err);
    if (!GeneratePuzzle(state, dialogs, o.seed)) {
        err << "corvana-gen: could not build " << o.name << '\n';
        return 1;
    }
    // Build the whole text first, so a failure can never leave half a puzzle on stdout.
    std::ostringstream text;
    const TemplateRecord& record = *FindTemplate(o.name);
    if (o.json)
        WriteJson(text, state, record);
    else
        WriteText(text, state, record);
    out << text.str();
    return 0;
}

} // namespace corvana
