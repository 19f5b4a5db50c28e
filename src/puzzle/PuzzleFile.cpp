#include "puzzle/PuzzleFile.h"

#include "files/FileAccess.h"
#include "puzzle/GeneratePuzzle.h"
#include "puzzle/Templates.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <optional>

namespace corvana {

namespace {

using nlohmann::json;

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

// Reads one grid: `width` texts of `width` characters, '#' exactly on the template's black
// squares. Digits go into `values`; '.' (allowed only when `allowEmpty`) is -1.
bool ReadGrid(const json& j, const char* key, const TemplateRecord& t, bool allowEmpty,
              std::vector<std::int16_t>& values, std::string& error) {
    const int w = t.Width();
    const auto it = j.find(key);
    if (it == j.end() || !it->is_array() || it->size() != At(w)) {
        error = std::string("\"") + key + "\" must list " + std::to_string(w) + " rows";
        return false;
    }
    values.assign(At(w * w), -1);
    for (int r = 0; r < w; ++r) {
        const json& row = (*it)[At(r)];
        if (!row.is_string() || row.get_ref<const std::string&>().size() != At(w)) {
            error = std::string("row ") + std::to_string(r + 1) + " of \"" + key + "\" must have " +
                    std::to_string(w) + " squares";
            return false;
        }
        const std::string& text = row.get_ref<const std::string&>();
        for (int c = 0; c < w; ++c) {
            const int cell = r * w + c;
            const char ch = text[At(c)];
            const bool black = t.IsBlack(cell);
            if (black != (ch == '#')) {
                error = std::string("\"") + key + "\" does not have the black squares of " +
                        std::string(t.name) + " (row " + std::to_string(r + 1) + ", column " +
                        std::to_string(c + 1) + ")";
                return false;
            }
            if (black)
                continue;
            if (ch >= '0' && ch <= '9')
                values[At(cell)] = static_cast<std::int16_t>(ch - '0');
            else if (!(allowEmpty && ch == '.')) {
                error = std::string("\"") + key + "\" has '" + Excerpt(std::string(1, ch)) + "' in row " +
                        std::to_string(r + 1) + ", column " + std::to_string(c + 1);
                return false;
            }
        }
    }
    return true;
}

// The number standing in the solution from `first`, `digits` long, every `step` cells.
std::string ReadNumber(const std::vector<std::int16_t>& solution, int first, int digits, int step) {
    std::string text;
    for (int m = 0; m < digits; ++m)
        text += static_cast<char>('0' + solution[At(first + m * step)]);
    return text;
}

// The lists of a solution grid as the build makes them: per digit count the captions in
// ascending order, across and down merged unless the template keeps them apart.
void ListsOfSolution(const TemplateRecord& t, const std::vector<std::int16_t>& solution,
                     ByDigits<CaptionList>& across, ByDigits<CaptionList>& down) {
    for (const SlotGroup& group : t.slots) {
        CaptionList& a = across[At(group.digits)];
        CaptionList& d = t.SeparateLists() ? down[At(group.digits)] : a;
        for (const int first : group.across)
            a.push_back(ReadNumber(solution, first, group.digits, 1));
        for (const int first : group.down)
            d.push_back(ReadNumber(solution, first, group.digits, t.Width()));
    }
    for (auto* family : {&across, &down})
        for (CaptionList& list : *family)
            std::sort(list.begin(), list.end());
}

bool ListsMatch(const json& j, const char* key, const ByDigits<CaptionList>& expected, std::string& error) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_object()) {
        error = std::string("\"") + key + "\" is missing";
        return false;
    }
    json wanted = json::object();
    for (int n = kShortest; n <= kLongest; ++n)
        if (!expected[At(n)].empty())
            wanted[std::to_string(n)] = expected[At(n)];
    if (*it != wanted) {
        error = std::string("the numbers in \"") + key + "\" are not those of the solution grid";
        return false;
    }
    return true;
}

template <typename Json> JsonFault Parse(const std::string& text, Json& j, std::string* words) {
    if (!JsonDepthWithin(text))
        return JsonFault::TooDeep;
    try {
        j = Json::parse(text);
    } catch (const typename Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 2, ...", or out_of_range.406 for
        // a number like 1e999: the words after the bracket.
        if (words != nullptr) {
            const std::string what = e.what();
            const auto start = what.find("] ");
            *words = start == std::string::npos ? what : what.substr(start + 2);
        }
        return JsonFault::NotJson;
    }
    return JsonFault::None;
}

// The widest grid the solving reader takes: beyond the templates' 20, for grids made by hand.
constexpr int kMaxSolveWidth = 64;

// One of the lists to solve: names are digit counts from 2 to `width`, each a list of texts.
std::optional<std::string> ReadSolveLists(const nlohmann::ordered_json& doc, const char* key, int width,
                                          std::map<int, std::vector<std::string>>& lists) {
    const auto found = doc.find(key);
    if (found == doc.end() || !found->is_object())
        return std::string("\"") + key + "\" is missing or not an object of lists";
    for (const auto& [name, numbers] : found->items()) {
        int digits = 0;
        for (const char c : name)
            digits = c >= '0' && c <= '9' && digits <= kMaxSolveWidth ? digits * 10 + (c - '0')
                                                                      : kMaxSolveWidth + 1;
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

bool PuzzleForPlayFromJson(const json& j, PuzzleState& state, std::string& error) {
    if (!j.is_object()) {
        error = "it is not a puzzle (no JSON object)";
        return false;
    }
    const auto name = j.find("name");
    if (name == j.end() || !name->is_string()) {
        error = "it names no template";
        return false;
    }
    const TemplateRecord* t = FindTemplate(name->get_ref<const std::string&>());
    if (t == nullptr) {
        error = "\"" + Excerpt(name->get<std::string>()) + "\" is no template of this program";
        return false;
    }
    const auto width = j.find("width");
    if (width != j.end() && (!width->is_number_integer() || width->get<long long>() != t->Width())) {
        error = "its width is not that of " + std::string(t->name);
        return false;
    }
    const auto seed = j.find("seed");
    if (seed == j.end() || !seed->is_number_unsigned()) {
        error = "\"seed\" must be a whole number";
        return false;
    }
    const auto reduced = j.find("reduced");
    const auto noShowFirst = j.find("noShowFirst");
    if (reduced == j.end() || !reduced->is_boolean() || noShowFirst == j.end() ||
        !noShowFirst->is_boolean()) {
        error = "\"reduced\" and \"noShowFirst\" must be true or false";
        return false;
    }
    const auto starter = j.find("starter");
    if (starter == j.end() || *starter != json::array({t->StarterFirstCell(), t->StarterLastCell()})) {
        error = "\"starter\" is not the starting number of " + std::string(t->name);
        return false;
    }
    std::vector<std::int16_t> solution;
    std::vector<std::int16_t> user;
    if (!ReadGrid(j, "solution", *t, false, solution, error) || !ReadGrid(j, "user", *t, true, user, error))
        return false;
    ByDigits<CaptionList> across;
    ByDigits<CaptionList> down;
    ListsOfSolution(*t, solution, across, down);
    if (!ListsMatch(j, "lists", across, error) || !ListsMatch(j, "listsDown", down, error))
        return false;

    PuzzleState s;
    s.PuzzleName = std::string(t->name);
    s.Seed = seed->get<std::uint64_t>();
    s.ReducedNumbers = reduced->get<bool>();
    s.NoShowFirst = noShowFirst->get<bool>();
    // Both are optional: a puzzle made without the one-solution check has neither, and what a
    // file says is read as it stands, never recounted.
    const auto count = [&](const char* key) {
        const auto found = j.find(key);
        return found != j.end() && found->is_number_integer() && found->get<std::int64_t>() >= 0 &&
                       found->get<std::int64_t>() <= kMaxDraws
                   ? found->get<int>()
                   : 0;
    };
    s.Solutions = count("solutions");
    s.Draws = count("draws");
    s.StarterFirstCell = t->StarterFirstCell();
    s.StarterLastCell = t->StarterLastCell();
    s.GridPattern.assign(solution.size(), false);
    for (std::size_t i = 0; i < solution.size(); ++i)
        s.GridPattern[i] = !t->IsBlack(static_cast<int>(i));
    s.SolutionArray = std::move(solution);
    s.UserArray = std::move(user);
    for (int n = kShortest; n <= kLongest; ++n) {
        for (const bool isDown : {false, true}) {
            const CaptionList& captions = isDown ? down[At(n)] : across[At(n)];
            NumberList& numbers = isDown ? s.NumbersDown[At(n)] : s.Numbers[At(n)];
            for (const std::string& caption : captions)
                numbers.push_back(LeadingNumber(caption));
            (isDown ? s.CaptionsDown[At(n)] : s.Captions[At(n)]) = captions;
        }
    }
    state = std::move(s);
    return true;
}

json PuzzleToJson(const PuzzleState& s) {
    const TemplateRecord* t = FindTemplate(s.PuzzleName);
    const int w = t != nullptr ? t->Width() : 0;
    json j;
    j["name"] = s.PuzzleName;
    j["size"] = t != nullptr ? std::string(SizeClassName(t->size)) : std::string();
    j["width"] = w;
    j["seed"] = s.Seed;
    j["reduced"] = s.ReducedNumbers;
    j["noShowFirst"] = s.NoShowFirst;
    j["starter"] = {s.StarterFirstCell, s.StarterLastCell};
    const bool whole = t != nullptr && s.CellCount() == w * w &&
                       s.SolutionArray.size() == s.GridPattern.size() &&
                       s.UserArray.size() == s.GridPattern.size();
    j["solution"] = whole ? json(GridRows(s.GridPattern, s.SolutionArray, w)) : json::array();
    j["user"] = whole ? json(GridRows(s.GridPattern, s.UserArray, w)) : json::array();
    j["lists"] = t != nullptr ? ListsJson<json>(*t, s.Captions) : json::object();
    j["listsDown"] =
        t != nullptr && t->SeparateLists() ? ListsJson<json>(*t, s.CaptionsDown) : json::object();
    j["solutions"] = s.Solutions;
    j["draws"] = s.Draws;
    return j;
}

bool JsonDepthWithin(const std::string& text, int maxDepth) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

JsonFault ParseJson(const std::string& text, json& j, std::string* words) {
    return Parse(text, j, words);
}

bool ParseJsonText(const std::string& text, json& j, std::string& error) {
    switch (ParseJson(text, j)) {
    case JsonFault::None:
        return true;
    case JsonFault::TooDeep:
        error = "it is nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
        return false;
    case JsonFault::NotJson:
        break;
    }
    error = "it is not JSON";
    return false;
}

std::string Excerpt(const std::string& text, std::size_t most) {
    std::string out = text.substr(0, most);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text.size() > most ? out + "..." : out;
}

bool PuzzleForPlayFromText(const std::string& text, PuzzleState& state, std::string& error) {
    json j;
    return ParseJsonText(text, j, error) && PuzzleForPlayFromJson(j, state, error);
}

bool ReadPuzzleFileText(const std::string& path, std::string& text, std::string& error) {
    return ReadRegularFile(path, kMaxPuzzleFileBytes, text, error, Links::Follow);
}

bool ReadPuzzleForPlay(const std::string& path, PuzzleState& state, std::string& error) {
    std::string text;
    return ReadPuzzleFileText(path, text, error) && PuzzleForPlayFromText(text, state, error);
}

std::optional<std::string> FillInFromText(const std::string& text, FillIn& puzzle) {
    // Kept in the file's order, so that of two faults the first in the file is named.
    nlohmann::ordered_json doc;
    std::string words;
    switch (Parse(text, doc, &words)) {
    case JsonFault::None:
        break;
    case JsonFault::TooDeep:
        return "not a puzzle: nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
    case JsonFault::NotJson:
        return "not JSON: " + Excerpt(words, 200);
    }
    if (!doc.is_object())
        return std::string("not a puzzle: the JSON is not an object");
    const auto width = doc.find("width");
    if (width == doc.end() || !width->is_number_integer() || width->get<std::int64_t>() < 2 ||
        width->get<std::int64_t>() > kMaxSolveWidth)
        return "\"width\" is missing or not a whole number from 2 to " + std::to_string(kMaxSolveWidth);
    FillIn read;
    read.width = width->get<int>();

    const auto user = doc.find("user");
    if (user == doc.end() || !user->is_array() || user->size() != At(read.width))
        return "\"user\" is missing or does not have " + std::to_string(read.width) + " rows";
    for (std::size_t r = 0; r < user->size(); ++r) {
        const auto& row = (*user)[r];
        const bool good =
            row.is_string() && row.get_ref<const std::string&>().size() == At(read.width) &&
            row.get_ref<const std::string&>().find_first_not_of("#.0123456789") == std::string::npos;
        if (!good)
            return "\"user\" row " + std::to_string(r + 1) + " is not " + std::to_string(read.width) +
                   " squares of '#', '.' or a digit";
        for (const char c : row.get_ref<const std::string&>()) {
            read.white.push_back(c != '#');
            read.given.push_back(c >= '0' && c <= '9' ? c - '0' : -1);
        }
    }
    if (auto error = ReadSolveLists(doc, "lists", read.width, read.across))
        return error;
    if (auto error = ReadSolveLists(doc, "listsDown", read.width, read.down))
        return error;
    read.separate = !read.down.empty();
    puzzle = std::move(read);
    return std::nullopt;
}

} // namespace corvana
