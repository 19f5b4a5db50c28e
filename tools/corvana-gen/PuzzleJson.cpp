#include "PuzzleJson.h"

#include "corvana/Version.h"
#include "puzzle/PuzzleFile.h"

namespace corvana {

namespace {

constexpr int kMaxWidth = 64;

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

Json Lists(const ByDigits<NumberList>& numbers, const ByDigits<CaptionList>& captions) {
    Json lists = Json::object();
    for (int n = kShortest; n <= kLongest; ++n)
        if (!numbers[At(n)].empty())
            lists[std::to_string(n)] = captions[At(n)];
    return lists;
}

void WriteInline(std::ostream& out, const Json& value) {
    if (value.is_array()) {
        out << '[';
        for (std::size_t k = 0; k < value.size(); ++k) {
            out << (k ? ", " : "");
            WriteInline(out, value[k]);
        }
        out << ']';
    } else if (value.is_object()) {
        out << '{';
        bool first = true;
        for (const auto& [key, item] : value.items()) {
            out << (first ? "" : ", ") << Json(key).dump() << ": ";
            WriteInline(out, item);
            first = false;
        }
        out << '}';
    } else {
        out << value.dump();
    }
}

std::optional<std::string> ReadLists(const Json& doc, const char* key, int width,
                                     std::map<int, std::vector<std::string>>& lists) {
    const auto found = doc.find(key);
    if (found == doc.end() || !found->is_object())
        return std::string("\"") + key + "\" is missing or not an object of lists";
    for (const auto& [name, numbers] : found->items()) {
        int digits = 0;
        for (const char c : name)
            digits = c >= '0' && c <= '9' && digits <= kMaxWidth ? digits * 10 + (c - '0') : kMaxWidth + 1;
        if (name.empty() || digits < 2 || digits > width)
            return std::string("\"") + key + "\" has a list named \"" + Excerpt(name) +
                   "\", not a digit count from 2 to " + std::to_string(width);
        if (!numbers.is_array())
            return std::string("\"") + key + "\" \"" + Excerpt(name) + "\" is not a list";
        auto& list = lists[digits];
        for (const auto& number : numbers) {
            if (!number.is_string())
                return std::string("\"") + key + "\" \"" + Excerpt(name) + "\" holds " +
                       Excerpt(number.dump()) + ", not a text";
            list.push_back(number.get<std::string>());
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> GridRows(const PuzzleState& s, const std::vector<std::int16_t>& values) {
    const int width = GridWidth(FindTemplate(s.PuzzleName)->size);
    std::vector<std::string> rows;
    for (int r = 0; r < width; ++r) {
        std::string line;
        for (int c = 0; c < width; ++c) {
            const auto i = At(r * width + c);
            line += !s.GridPattern[i] ? '#' : values[i] < 0 ? '.' : static_cast<char>('0' + values[i]);
        }
        rows.push_back(line);
    }
    return rows;
}

std::vector<std::string> GridRows(const FillIn& puzzle, const SolvedGrid& grid) {
    std::vector<std::string> rows;
    for (int r = 0; r < puzzle.width; ++r) {
        std::string line;
        for (int c = 0; c < puzzle.width; ++c) {
            const int digit = grid[At(r * puzzle.width + c)];
            line += digit < 0 ? '#' : static_cast<char>('0' + digit);
        }
        rows.push_back(line);
    }
    return rows;
}

Json PuzzleJson(const PuzzleState& s, Grade grade) {
    // The program reads and writes the same form; only the order of the keys is the generator's.
    const nlohmann::json plain = PuzzleToJson(s);
    Json j;
    for (const char* key : {"name", "size", "width", "seed", "reduced", "noShowFirst", "starter", "solution",
                            "user", "lists", "listsDown", "solutions", "draws"})
        j[key] = plain.at(key);
    j["grade"] = GradeName(grade);
    return j;
}

// The lists as a reader sees them printed: one line per digit count, under ACROSS and DOWN
// where a Large puzzle keeps them apart.
std::string ListsText(const PuzzleState& s, const TemplateRecord& t) {
    const auto lines = [&](const ByDigits<NumberList>& numbers, const ByDigits<CaptionList>& captions) {
        std::string text;
        for (int n = kShortest; n <= kLongest; ++n) {
            if (numbers[At(n)].empty())
                continue;
            text += std::to_string(n) + " Digits:";
            for (const auto& caption : captions[At(n)])
                text += ' ' + caption;
            text += '\n';
        }
        return text;
    };
    if (!t.SeparateLists())
        return lines(s.Numbers, s.Captions);
    return "ACROSS\n" + lines(s.Numbers, s.Captions) + "\nDOWN\n" + lines(s.NumbersDown, s.CaptionsDown);
}

namespace {

// The grid with the digits the puzzle is given out with: ShownPuzzle always has the starting
// number in it.
FillIn GivenOut(const PuzzleState& s) {
    FillIn puzzle = ShownPuzzle(s);
    if (s.NoShowFirst)
        for (std::size_t i = 0; i < puzzle.given.size(); ++i)
            puzzle.given[i] = s.UserArray[i];
    return puzzle;
}

} // namespace

int SolutionsAsGivenOut(const PuzzleState& s) {
    if (!s.NoShowFirst)
        return s.Solutions;
    return Solve(GivenOut(s), 2).solutions;
}

Grade GradeAsGivenOut(const PuzzleState& s) {
    return GradePuzzle(GivenOut(s));
}

Json IpuzJson(const PuzzleState& s, const TemplateRecord& t, Grade grade, const IpuzCredits& credits) {
    const int w = t.Width();
    // Cells: "#" a black square, 0 an empty one, a digit as a one-character text.
    const auto grid = [&](const std::vector<std::int16_t>& values, bool asIpuzPuzzle) {
        Json rows = Json::array();
        for (int r = 0; r < w; ++r) {
            Json row = Json::array();
            for (int c = 0; c < w; ++c) {
                const auto i = At(r * w + c);
                if (!s.GridPattern[i])
                    row.push_back("#");
                else if (values[i] < 0)
                    row.push_back(0);
                else if (asIpuzPuzzle) // an unlabelled cell with its given value
                    row.push_back(
                        {{"cell", 0}, {"value", std::string(1, static_cast<char>('0' + values[i]))}});
                else
                    row.push_back(std::string(1, static_cast<char>('0' + values[i])));
            }
            rows.push_back(row);
        }
        return rows;
    };
    const std::string ns = std::string(version::AppId) + ":";
    const auto either = [](const std::string& given, const std::string& otherwise) {
        return given.empty() ? otherwise : given;
    };
    Json j;
    j["version"] = "http://ipuz.org/v2";
    j["kind"] = {"http://ipuz.org/crossword#1", "http://ipuz.org/fill#1"};
    j["title"] = either(credits.title, s.PuzzleName + ", seed " + std::to_string(s.Seed));
    j["author"] = either(credits.author, version::ProductName);
    j["copyright"] = either(credits.copyright, version::LegalNotice);
    j["origin"] = std::string(version::ProductName) + " corvana-gen";
    j["difficulty"] = GradeName(grade);
    j["intro"] = "Write every number into the grid once, across or down.\n\n" + ListsText(s, t);
    j["dimensions"] = {{"width", w}, {"height", w}};
    j["charset"] = "0123456789";
    j["block"] = "#";
    j["empty"] = 0;
    j["puzzle"] = grid(s.UserArray, true);
    j["solution"] = grid(s.SolutionArray, false);
    j[ns + "lists"] = Lists(s.Numbers, s.Captions);
    j[ns + "listsDown"] = t.SeparateLists() ? Lists(s.NumbersDown, s.CaptionsDown) : Json::object();
    j[ns + "seed"] = s.Seed;
    j[ns + "solutions"] = s.Solutions;
    return j;
}

Json SolutionsJson(const FillIn& puzzle, const SolveResult& result, Grade grade) {
    Json j;
    j["solutions"] = result.solutions;
    j["grade"] = GradeName(grade);
    j["grids"] = Json::array();
    for (const SolvedGrid& grid : result.grids)
        j["grids"].push_back(GridRows(puzzle, grid));
    return j;
}

void WritePretty(std::ostream& out, const Json& object) {
    out << "{\n";
    bool first = true;
    for (const auto& [key, value] : object.items()) {
        out << (first ? "" : ",\n") << "  " << Json(key).dump() << ": ";
        WriteInline(out, value);
        first = false;
    }
    out << "\n}\n";
}

std::optional<std::string> PuzzleFromJson(const std::string& text, FillIn& puzzle) {
    if (!JsonDepthWithin(text))
        return "not a puzzle: nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
    Json doc;
    try {
        doc = Json::parse(text);
    } catch (const Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 2, ...", or out_of_range.406 for
        // a number like 1e999: keep the words.
        std::string what = e.what();
        const auto words = what.find("] ");
        return "not JSON: " + Excerpt(words == std::string::npos ? what : what.substr(words + 2), 200);
    }
    if (!doc.is_object())
        return std::string("not a puzzle: the JSON is not an object");
    const auto width = doc.find("width");
    if (width == doc.end() || !width->is_number_integer() || width->get<std::int64_t>() < 2 ||
        width->get<std::int64_t>() > kMaxWidth)
        return "\"width\" is missing or not a whole number from 2 to " + std::to_string(kMaxWidth);
    puzzle.width = width->get<int>();

    const auto user = doc.find("user");
    if (user == doc.end() || !user->is_array() || user->size() != At(puzzle.width))
        return "\"user\" is missing or does not have " + std::to_string(puzzle.width) + " rows";
    for (std::size_t r = 0; r < user->size(); ++r) {
        const Json& row = (*user)[r];
        const bool good = row.is_string() && row.get<std::string>().size() == At(puzzle.width) &&
                          row.get<std::string>().find_first_not_of("#.0123456789") == std::string::npos;
        if (!good)
            return "\"user\" row " + std::to_string(r + 1) + " is not " + std::to_string(puzzle.width) +
                   " squares of '#', '.' or a digit";
        for (const char c : row.get<std::string>()) {
            puzzle.white.push_back(c != '#');
            puzzle.given.push_back(c >= '0' && c <= '9' ? c - '0' : -1);
        }
    }
    if (auto error = ReadLists(doc, "lists", puzzle.width, puzzle.across))
        return error;
    if (auto error = ReadLists(doc, "listsDown", puzzle.width, puzzle.down))
        return error;
    puzzle.separate = !puzzle.down.empty();
    return std::nullopt;
}

} // namespace corvana
