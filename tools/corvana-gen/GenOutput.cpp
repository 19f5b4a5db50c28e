#include "GenOutput.h"

#include "corvana/Version.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/PuzzleFile.h"

namespace corvana {

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
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

} // namespace

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
    j[ns + "lists"] = ListsJson<Json>(t, s.Captions);
    j[ns + "listsDown"] = t.SeparateLists() ? ListsJson<Json>(t, s.CaptionsDown) : Json::object();
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
        j["grids"].push_back(GridRows(puzzle.white, grid, puzzle.width));
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

} // namespace corvana
