#include "solver/Rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>

namespace corvana {

namespace {

using Digits = std::uint16_t; // bit d set: digit d is still possible in a square
constexpr Digits kAnyDigit = 0x3FF;
constexpr int kMaxWidth = 64;
using Mask = std::uint64_t;

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

int Count(const Mask* bits, int chunks) {
    int count = 0;
    for (int ch = 0; ch < chunks; ++ch)
        count += __builtin_popcountll(bits[ch]);
    return count;
}

// What made a trial (or the player's grid) impossible.
struct Contradiction {
    enum class Kind { None, NoNumber, TooFewPlaces, TwoDigits };
    Kind kind = Kind::None;
    int at = -1; // the run left without a number, the number short of places, or the square
};

struct Placement {
    int run = -1;
    int word = -1;
    bool onlyPlace = false; // Rule 1's second form: the number has no other place
};

// The grid as a person works on it: the digits written in, the runs taken, the copies left.
// Trials work on copies of it.
struct State {
    std::vector<std::int8_t> digit; // per cell, -1 when empty
    std::vector<std::int16_t> runWord;
    std::vector<std::int16_t> copies;
    std::vector<Mask> unplaced; // the words with copies left, by chunk of their list
    std::vector<Mask> struck;   // per run, the words a trial ruled out there
    int open = 0;
};

class Board {
public:
    // False when the puzzle cannot be read (Solve names what is wrong).
    bool Prepare(const FillIn& p, const std::vector<int>* grid = nullptr);
    // The state of the grid in `given`, every full run counted as placed.
    bool Start(State& s, Contradiction& why) const;

    int Candidates(const State& s, int run, const Digits* domain, Mask* out) const;
    bool Place(State& s, int run, int word, Contradiction& why) const;
    bool PlaceAll(State& s, const std::vector<Placement>& found, Contradiction& why) const;
    // Rule 1 on the candidates under `domain` (the digits in the grid when null).
    bool Singles(const State& s, const Digits* domain, std::vector<Placement>& found, Contradiction& why);
    bool SinglesUntilStuck(State& s, Contradiction& why);
    // Narrows `domain` until every digit left in a square is put there by a candidate of each
    // of its runs.
    bool Narrow(const State& s, std::vector<Digits>& domain, Contradiction& why);
    // Rules 1 and 2 until neither places anything; false on a contradiction.
    bool RulesUntilStuck(State& s, Contradiction& why);

    int Width() const { return width_; }
    int Runs() const { return static_cast<int>(runs_.size()); }
    int Length(int run) const { return runs_[At(run)].length; }
    bool Down(int run) const { return runs_[At(run)].down; }
    const int* Cells(int run) const { return &runCells_[At(run * stride_)]; }
    int Crossing(int cell, bool down) const { return cellRuns_[At(cell * 2 + (down ? 1 : 0))]; }
    int ListChunks(int run) const { return Chunks(runs_[At(run)].list); }
    int ListWord(int run, int index) const { return wordBegin_[At(runs_[At(run)].list)] + index; }
    int RunChunk(int run) const { return runChunk_[At(run)]; }
    const std::string& Text(int word) const { return wordText_[At(word)]; }
    int DigitOf(int word, int k) const { return wordDigits_[At(word * stride_ + k)]; }
    int InitialCopies(int word) const { return initialCopies_[At(word)]; }
    std::vector<Digits>& Domain() { return domain_; }
    const std::vector<Mask>& LastCandidates() const { return cand_; }

private:
    struct Run {
        int length = 0;
        int list = 0;
        bool down = false;
    };
    int Chunks(int list) const { return chunkBegin_[At(list + 1)] - chunkBegin_[At(list)]; }
    const Mask& DigitMask(int chunk, int k, int digit) const {
        return digitMasks_[(At(chunk) * At(stride_) + At(k)) * 10 + At(digit)];
    }
    void AddRuns(const FillIn& p);
    void AddWords(const FillIn& p);

    int width_ = 0;
    int cells_ = 0;
    int stride_ = 0;
    std::vector<Run> runs_;
    std::vector<int> runCells_;
    std::vector<int> cellRuns_; // cell c: its across run at 2c, its down run at 2c + 1, or -1
    std::vector<int> runChunk_; // run r: its list's chunks at [runChunk_[r], runChunk_[r + 1])
    std::vector<int> wordBegin_;
    std::vector<int> chunkBegin_;
    std::vector<std::string> wordText_;
    std::vector<std::uint8_t> wordDigits_;
    std::vector<std::int16_t> initialCopies_;
    std::vector<Mask> digitMasks_;
    std::vector<int> given_;

    // Scratch, sized once.
    std::vector<Mask> cand_; // per run, its candidates of the last Singles or Narrow
    // Per chunk of a list, how many open runs have each word as a candidate, counted in bit
    // planes (1, 2, 4, and 8 or more), so a run adds all its candidates with a few operations.
    std::vector<Mask> places_;
    std::vector<int> wordList_;
    std::vector<Digits> domain_;
    std::vector<Digits> plain_;
    std::vector<int> queue_;
    std::vector<char> queued_;
    std::vector<Placement> found_;
};

void Board::AddRuns(const FillIn& p) {
    cellRuns_.assign(At(cells_ * 2), -1);
    std::vector<int> cellsOfRuns;
    for (int dir = 0; dir < 2; ++dir) {
        for (int line = 0; line < width_; ++line) {
            const auto cellAt = [&](int k) { return dir == 1 ? k * width_ + line : line * width_ + k; };
            for (int pos = 0; pos < width_;) {
                int end = pos;
                while (end < width_ && p.white[At(cellAt(end))])
                    ++end;
                if (end - pos >= 2) {
                    for (int k = pos; k < end; ++k) {
                        cellsOfRuns.push_back(cellAt(k));
                        cellRuns_[At(cellAt(k) * 2 + dir)] = static_cast<int>(runs_.size());
                    }
                    runs_.push_back({end - pos, 0, dir == 1});
                    stride_ = std::max(stride_, end - pos);
                }
                pos = std::max(end, pos + 1);
            }
        }
    }
    runCells_.assign(runs_.size() * At(stride_), -1);
    std::size_t next = 0;
    for (std::size_t r = 0; r < runs_.size(); ++r)
        for (int k = 0; k < runs_[r].length; ++k)
            runCells_[r * At(stride_) + At(k)] = cellsOfRuns[next++];
}

void Board::AddWords(const FillIn& p) {
    const auto keyOf = [&](int length, bool down) { return At(length * 2 + (p.separate && down ? 1 : 0)); };
    std::vector<const std::vector<std::string>*> lists(At(kMaxWidth + 1) * 2, nullptr);
    for (const bool down : {false, true})
        for (const auto& [length, numbers] : down ? p.down : p.across)
            if (!numbers.empty())
                lists[keyOf(length, down)] = &numbers;
    std::vector<int> listOf(lists.size(), -1);
    chunkBegin_.push_back(0);
    for (std::size_t key = 0; key < lists.size(); ++key) {
        if (lists[key] == nullptr)
            continue;
        listOf[key] = static_cast<int>(wordBegin_.size());
        wordBegin_.push_back(static_cast<int>(wordText_.size()));
        std::vector<std::string> sorted = *lists[key];
        std::sort(sorted.begin(), sorted.end());
        const int length = static_cast<int>(key / 2);
        int inList = 0;
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            if (k > 0 && sorted[k] == sorted[k - 1]) {
                ++initialCopies_.back();
                continue;
            }
            if (inList % 64 == 0)
                digitMasks_.resize(digitMasks_.size() + At(stride_) * 10, 0);
            const int chunk = chunkBegin_.back() + inList / 64;
            wordText_.push_back(sorted[k]);
            wordList_.push_back(listOf[key]);
            initialCopies_.push_back(1);
            for (int m = 0; m < stride_; ++m) {
                const int digit = m < length ? sorted[k][At(m)] - '0' : 0;
                wordDigits_.push_back(static_cast<std::uint8_t>(digit));
                if (m < length)
                    digitMasks_[(At(chunk) * At(stride_) + At(m)) * 10 + At(digit)] |= Mask{1}
                                                                                       << (inList % 64);
            }
            ++inList;
        }
        chunkBegin_.push_back(chunkBegin_.back() + (inList + 63) / 64);
    }
    wordBegin_.push_back(static_cast<int>(wordText_.size()));
    runChunk_.push_back(0);
    for (Run& run : runs_) {
        run.list = listOf[keyOf(run.length, run.down)];
        runChunk_.push_back(runChunk_.back() + Chunks(run.list));
    }
}

// `grid`, when given, stands in for the digits of `p`.
bool Board::Prepare(const FillIn& p, const std::vector<int>* grid) {
    // The search's reading of the puzzle is the one check of its shape: a puzzle it reads has
    // every square, list and number the rules rely on, each list as long as its runs.
    FillIn withGrid;
    if (grid != nullptr) {
        withGrid = p;
        withGrid.given = *grid;
    }
    if (!Solve(grid != nullptr ? withGrid : p, 0).error.empty())
        return false;
    width_ = p.width;
    cells_ = width_ * width_;
    given_ = grid != nullptr ? *grid : p.given;
    AddRuns(p);
    AddWords(p);
    cand_.assign(At(runChunk_.back()), 0);
    places_.assign(At(chunkBegin_.back()) * 4, 0);
    domain_.assign(At(cells_), kAnyDigit);
    plain_.assign(At(cells_), kAnyDigit);
    queued_.assign(runs_.size(), 0);
    queue_.reserve(runs_.size());
    return true;
}

bool Board::Start(State& s, Contradiction& why) const {
    s.digit.assign(given_.begin(), given_.end()); // each a digit or -1
    s.runWord.assign(runs_.size(), -1);
    s.copies = initialCopies_;
    s.unplaced.assign(At(chunkBegin_.back()), 0);
    for (int list = 0; list + 1 < static_cast<int>(wordBegin_.size()); ++list) {
        const int words = wordBegin_[At(list + 1)] - wordBegin_[At(list)];
        for (int ch = 0; ch < Chunks(list); ++ch) {
            const int bits = std::min(64, words - ch * 64);
            s.unplaced[At(chunkBegin_[At(list)] + ch)] = bits == 64 ? ~Mask{0} : (Mask{1} << bits) - 1;
        }
    }
    s.struck.assign(At(runChunk_.back()), 0);
    s.open = Runs();
    Mask match[kMaxWidth];
    for (int run = 0; run < Runs(); ++run) {
        if (s.runWord[At(run)] >= 0 ||
            std::any_of(Cells(run), Cells(run) + Length(run), [&](int c) { return s.digit[At(c)] < 0; }))
            continue;
        if (Candidates(s, run, nullptr, match) == 0) {
            why = {Contradiction::Kind::NoNumber, run};
            return false;
        }
        int ch = 0;
        while (match[ch] == 0)
            ++ch;
        if (!Place(s, run, ListWord(run, ch * 64 + __builtin_ctzll(match[ch])), why))
            return false;
    }
    return true;
}

// The words of the run's list with copies left, not struck from it, that fit its squares.
int Board::Candidates(const State& s, int run, const Digits* domain, Mask* out) const {
    const Run& r = runs_[At(run)];
    const int first = chunkBegin_[At(r.list)];
    const int chunks = Chunks(r.list);
    const Mask* struck = &s.struck[At(runChunk_[At(run)])];
    for (int ch = 0; ch < chunks; ++ch)
        out[ch] = s.unplaced[At(first + ch)] & ~struck[ch];
    const int* cells = Cells(run);
    for (int k = 0; k < r.length; ++k) {
        const int digit = s.digit[At(cells[k])];
        if (digit >= 0) {
            for (int ch = 0; ch < chunks; ++ch)
                out[ch] &= DigitMask(first + ch, k, digit);
            continue;
        }
        if (domain == nullptr || domain[cells[k]] == kAnyDigit)
            continue;
        for (int ch = 0; ch < chunks; ++ch) {
            Mask fit = 0;
            for (unsigned rest = domain[cells[k]]; rest != 0; rest &= rest - 1)
                fit |= DigitMask(first + ch, k, __builtin_ctz(rest));
            out[ch] &= fit;
        }
    }
    return Count(out, chunks);
}

// Writes `word` into `run`; a crossing run that this fills counts as placed too.
bool Board::Place(State& s, int run, int word, Contradiction& why) const {
    const Run& r = runs_[At(run)];
    const int* cells = Cells(run);
    if (s.runWord[At(run)] >= 0) {
        if (s.runWord[At(run)] == word)
            return true;
        int k = 0;
        while (DigitOf(word, k) == s.digit[At(cells[k])])
            ++k;
        why = {Contradiction::Kind::TwoDigits, cells[k]};
        return false;
    }
    if (s.copies[At(word)] <= 0) {
        why = {Contradiction::Kind::NoNumber, run};
        return false;
    }
    if (--s.copies[At(word)] == 0) {
        const int index = word - wordBegin_[At(r.list)];
        s.unplaced[At(chunkBegin_[At(r.list)] + index / 64)] &= ~(Mask{1} << (index % 64));
    }
    s.runWord[At(run)] = static_cast<std::int16_t>(word);
    --s.open;
    for (int k = 0; k < r.length; ++k) {
        std::int8_t& digit = s.digit[At(cells[k])];
        if (digit >= 0 && digit != DigitOf(word, k)) {
            why = {Contradiction::Kind::TwoDigits, cells[k]};
            return false;
        }
        digit = static_cast<std::int8_t>(DigitOf(word, k));
    }
    Mask match[kMaxWidth];
    for (int k = 0; k < r.length; ++k) {
        const int crossing = Crossing(cells[k], !r.down);
        if (crossing < 0 || s.runWord[At(crossing)] >= 0 ||
            std::any_of(Cells(crossing), Cells(crossing) + Length(crossing),
                        [&](int c) { return s.digit[At(c)] < 0; }))
            continue;
        if (Candidates(s, crossing, nullptr, match) == 0) {
            why = {Contradiction::Kind::NoNumber, crossing};
            return false;
        }
        int ch = 0;
        while (match[ch] == 0)
            ++ch;
        if (!Place(s, crossing, ListWord(crossing, ch * 64 + __builtin_ctzll(match[ch])), why))
            return false;
    }
    return true;
}

bool Board::PlaceAll(State& s, const std::vector<Placement>& found, Contradiction& why) const {
    for (const Placement& p : found)
        if (!Place(s, p.run, p.word, why))
            return false;
    return true;
}

bool Board::Singles(const State& s, const Digits* domain, std::vector<Placement>& found, Contradiction& why) {
    found.clear();
    std::fill(places_.begin(), places_.end(), 0);
    for (int run = 0; run < Runs(); ++run) {
        if (s.runWord[At(run)] >= 0)
            continue;
        Mask* cand = &cand_[At(runChunk_[At(run)])];
        const int count = Candidates(s, run, domain, cand);
        if (count == 0) {
            why = {Contradiction::Kind::NoNumber, run};
            return false;
        }
        Mask* planes = &places_[At(chunkBegin_[At(runs_[At(run)].list)]) * 4];
        for (int ch = 0; ch < ListChunks(run); ++ch, planes += 4) {
            const Mask carry1 = planes[0] & cand[ch];
            planes[0] ^= cand[ch];
            const Mask carry2 = planes[1] & carry1;
            planes[1] ^= carry1;
            planes[3] |= planes[2] & carry2;
            planes[2] ^= carry2;
        }
        if (count == 1) {
            int ch = 0;
            while (cand[ch] == 0)
                ++ch;
            found.push_back({run, ListWord(run, ch * 64 + __builtin_ctzll(cand[ch])), false});
        }
    }
    const std::size_t singles = found.size();
    for (int word = 0; word < static_cast<int>(wordText_.size()); ++word) {
        const int copies = s.copies[At(word)];
        if (copies <= 0)
            continue;
        const int index = word - wordBegin_[At(wordList_[At(word)])];
        const Mask* planes = &places_[At(chunkBegin_[At(wordList_[At(word)])] + index / 64) * 4];
        const auto bit = [&](int plane) { return static_cast<int>((planes[plane] >> (index % 64)) & 1); };
        int places = bit(0) + 2 * bit(1) + 4 * bit(2);
        if (bit(3)) {
            if (copies < 8)
                continue;
            // As many copies as that are rare: count the places one by one.
            places = 0;
            for (int run = 0; run < Runs(); ++run)
                places += runs_[At(run)].list == wordList_[At(word)] && s.runWord[At(run)] < 0 &&
                          ((cand_[At(runChunk_[At(run)] + index / 64)] >> (index % 64)) & 1);
        }
        if (places > copies)
            continue;
        if (places < copies) {
            why = {Contradiction::Kind::TooFewPlaces, word};
            return false;
        }
        // Its runs are those of its list that have it as a candidate.
        for (int run = 0; run < Runs(); ++run) {
            if (runs_[At(run)].list != wordList_[At(word)] || s.runWord[At(run)] >= 0 ||
                !((cand_[At(runChunk_[At(run)] + index / 64)] >> (index % 64)) & 1))
                continue;
            const bool known =
                std::any_of(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(singles),
                            [&](const Placement& p) { return p.run == run; });
            if (!known)
                found.push_back({run, word, true});
        }
    }
    return true;
}

// Rule 1 finds the same placements in any order, so runs that take their one candidate are
// followed from run to run first (only the runs a placement touched are looked at again), and
// the whole grid is scanned, for the second form too, only when that stops.
bool Board::SinglesUntilStuck(State& s, Contradiction& why) {
    const auto push = [&](int run) {
        if (run >= 0 && s.runWord[At(run)] < 0 && !queued_[At(run)]) {
            queued_[At(run)] = 1;
            queue_.push_back(run);
        }
    };
    Mask cand[kMaxWidth];
    queue_.clear();
    for (int run = 0; run < Runs(); ++run)
        push(run);
    for (;;) {
        for (std::size_t head = 0; head < queue_.size(); ++head) {
            const int run = queue_[head];
            queued_[At(run)] = 0;
            if (s.runWord[At(run)] >= 0 || Candidates(s, run, nullptr, cand) != 1)
                continue;
            int ch = 0;
            while (cand[ch] == 0)
                ++ch;
            const int word = ListWord(run, ch * 64 + __builtin_ctzll(cand[ch]));
            if (!Place(s, run, word, why)) {
                for (std::size_t rest = head + 1; rest < queue_.size(); ++rest)
                    queued_[At(queue_[rest])] = 0;
                return false;
            }
            for (int k = 0; k < Length(run); ++k)
                push(Crossing(Cells(run)[k], !Down(run)));
            if (s.copies[At(word)] == 0)
                for (int other = 0; other < Runs(); ++other)
                    if (runs_[At(other)].list == runs_[At(run)].list)
                        push(other);
        }
        queue_.clear();
        if (s.open == 0)
            return true;
        if (!Singles(s, nullptr, found_, why))
            return false;
        if (found_.empty())
            return true;
        if (!PlaceAll(s, found_, why))
            return false;
        for (const Placement& p : found_) {
            for (int k = 0; k < Length(p.run); ++k)
                push(Crossing(Cells(p.run)[k], !Down(p.run)));
            for (int other = 0; other < Runs(); ++other)
                if (runs_[At(other)].list == runs_[At(p.run)].list)
                    push(other);
        }
    }
}

bool Board::Narrow(const State& s, std::vector<Digits>& domain, Contradiction& why) {
    for (int c = 0; c < cells_; ++c)
        domain[At(c)] = s.digit[At(c)] >= 0 ? static_cast<Digits>(1u << s.digit[At(c)]) : kAnyDigit;
    queue_.clear();
    for (int run = 0; run < Runs(); ++run)
        if (s.runWord[At(run)] < 0) {
            queue_.push_back(run);
            queued_[At(run)] = 1;
        }
    for (std::size_t head = 0; head < queue_.size(); ++head) {
        const int run = queue_[head];
        queued_[At(run)] = 0;
        const Run& r = runs_[At(run)];
        Mask* cand = &cand_[At(runChunk_[At(run)])];
        const int count = Candidates(s, run, domain.data(), cand);
        if (count == 0) {
            why = {Contradiction::Kind::NoNumber, run};
            for (std::size_t rest = head + 1; rest < queue_.size(); ++rest)
                queued_[At(queue_[rest])] = 0;
            return false;
        }
        Digits allowed[kMaxWidth] = {};
        const int* cells = Cells(run);
        const int first = chunkBegin_[At(r.list)];
        for (int k = 0; k < r.length; ++k)
            for (unsigned rest = domain[At(cells[k])]; rest != 0; rest &= rest - 1) {
                const int d = __builtin_ctz(rest);
                for (int ch = 0; ch < ListChunks(run); ++ch)
                    if (cand[ch] & DigitMask(first + ch, k, d))
                        allowed[k] = static_cast<Digits>(allowed[k] | (1u << d));
            }
        for (int k = 0; k < r.length; ++k) {
            Digits& d = domain[At(cells[k])];
            const Digits narrowed = static_cast<Digits>(d & allowed[k]);
            if (narrowed == d)
                continue;
            d = narrowed;
            const int crossing = Crossing(cells[k], !r.down);
            if (crossing >= 0 && s.runWord[At(crossing)] < 0 && !queued_[At(crossing)]) {
                queued_[At(crossing)] = 1;
                queue_.push_back(crossing);
            }
        }
    }
    return true;
}

bool Board::RulesUntilStuck(State& s, Contradiction& why) {
    for (;;) {
        if (!SinglesUntilStuck(s, why))
            return false;
        if (s.open == 0)
            return true;
        if (!Narrow(s, domain_, why) || !Singles(s, domain_.data(), found_, why))
            return false;
        if (found_.empty())
            return true;
        if (!PlaceAll(s, found_, why))
            return false;
    }
}

// The texts of a hint. Squares are named by row and column counted from 1.
class Explainer {
public:
    Explainer(const Board& board, const State& s) : b_(board), s_(s) {}

    std::string Square(int cell) const {
        return "row " + std::to_string(cell / b_.Width() + 1) + ", column " +
               std::to_string(cell % b_.Width() + 1);
    }
    std::string Where(int run) const {
        return std::string(b_.Down(run) ? "down" : "across") + " at " + Square(b_.Cells(run)[0]);
    }
    std::string Head(const Placement& p) const { return b_.Text(p.word) + " goes " + Where(p.run) + ": "; }
    // "6 _ _ 3 _": the run's squares as the player sees them.
    std::string Pattern(int run) const {
        std::string text;
        for (int k = 0; k < b_.Length(run); ++k) {
            const int digit = s_.digit[At(b_.Cells(run)[k])];
            text += (k > 0 ? " " : "") + (digit >= 0 ? std::string(1, static_cast<char>('0' + digit)) : "_");
        }
        return text;
    }
    std::string OnlyNumber(int run) const {
        const std::string n = std::to_string(b_.Length(run)) + "-digit number";
        const std::string pattern = Pattern(run);
        if (pattern.find_first_not_of("_ ") == std::string::npos)
            return "the only " + n + " left";
        return "the only " + n + " that fits " + pattern;
    }
    // Rule 1's reasons; `it` is "it" or the number, as the sentence needs.
    std::string Single(const Placement& p, const std::string& it) const {
        if (!p.onlyPlace)
            return it + " is " + OnlyNumber(p.run);
        const int copies = s_.copies[At(p.word)];
        if (copies == 1)
            return "no other place fits " + b_.Text(p.word);
        return b_.Text(p.word) + " is listed " + std::to_string(copies) + " times and fits only " +
               std::to_string(copies) + " places";
    }
    static std::string DigitList(Digits digits) {
        std::string text;
        const int count = __builtin_popcount(digits);
        int k = 0;
        for (unsigned rest = digits; rest != 0; rest &= rest - 1, ++k) {
            if (k > 0)
                text += k + 1 == count ? " or " : ", ";
            text += static_cast<char>('0' + __builtin_ctz(rest));
        }
        return text;
    }
    // The squares whose crossing runs limit the digits, as part of a sentence; each entry is a
    // cell x 2, + 1 when its limiting run goes down.
    std::string Limits(const std::vector<int>& squares, const std::vector<Digits>& domain) const {
        if (squares.empty())
            return "the crossing numbers limit the digits";
        if (squares.size() == 1) {
            const int cell = squares[0] / 2;
            return "the " + std::string(squares[0] % 2 ? "down" : "across") + " number through " +
                   Square(cell) + " can only have " + DigitList(domain[At(cell)]) + " there";
        }
        // A square that limits both an across and a down candidate is named once.
        std::vector<int> cells;
        for (const int square : squares)
            if (std::find(cells.begin(), cells.end(), square / 2) == cells.end())
                cells.push_back(square / 2);
        std::string text = "the crossing numbers through ";
        for (std::size_t k = 0; k < cells.size(); ++k) {
            if (k > 0)
                text += k + 1 == cells.size() ? " and " : ", ";
            text += Square(cells[k]);
        }
        return text + " limit the digits there";
    }
    std::string Contradicts(const Contradiction& why) const {
        switch (why.kind) {
        case Contradiction::Kind::NoNumber:
            return "leaves no number that fits the " + std::to_string(b_.Length(why.at)) + "-digit " +
                   (b_.Down(why.at) ? "down" : "across") + " run at " + Square(b_.Cells(why.at)[0]);
        case Contradiction::Kind::TooFewPlaces:
            if (s_.copies[At(why.at)] > 1)
                return "leaves fewer places than copies of " + b_.Text(why.at);
            return "leaves no place for " + b_.Text(why.at);
        case Contradiction::Kind::TwoDigits:
        case Contradiction::Kind::None:
            break;
        }
        return "puts two digits in the square at " + Square(why.at);
    }

private:
    const Board& b_;
    const State& s_;
};

// The fewest squares (greedily) whose narrowed digits rule out every one of `ruledOut`: each
// entry lists the squares that rule out one candidate.
std::vector<int> Cover(std::vector<std::vector<int>> ruledOut) {
    std::vector<int> squares;
    while (!ruledOut.empty()) {
        std::map<int, int> votes;
        for (const auto& options : ruledOut)
            for (const int cell : options)
                ++votes[cell];
        if (votes.empty())
            break;
        const int best = std::max_element(votes.begin(), votes.end(), [](const auto& a, const auto& b) {
                             return a.second < b.second;
                         })->first;
        squares.push_back(best);
        ruledOut.erase(std::remove_if(ruledOut.begin(), ruledOut.end(),
                                      [&](const std::vector<int>& options) {
                                          return options.empty() || std::find(options.begin(), options.end(),
                                                                              best) != options.end();
                                      }),
                       ruledOut.end());
    }
    return squares;
}

} // namespace

const char* GradeName(Grade grade) {
    switch (grade) {
    case Grade::Easy:
        return "Easy";
    case Grade::Medium:
        return "Medium";
    case Grade::Hard:
        return "Hard";
    case Grade::Expert:
        break;
    }
    return "Expert";
}

Grade GradePuzzle(const FillIn& puzzle) {
    Board board;
    State s;
    Contradiction why;
    if (!board.Prepare(puzzle) || !board.Start(s, why))
        return Grade::Expert;
    std::vector<Placement> found;
    for (int rounds = 0;; ++rounds) {
        if (!board.SinglesUntilStuck(s, why))
            return Grade::Expert;
        if (s.open == 0)
            return rounds == 0 ? Grade::Easy : rounds == 1 ? Grade::Medium : Grade::Hard;
        if (!board.Narrow(s, board.Domain(), why) || !board.Singles(s, board.Domain().data(), found, why) ||
            found.empty() || !board.PlaceAll(s, found, why))
            return Grade::Expert;
    }
}

namespace {

HintStep Placed(const Board& board, const Placement& p, Rule rule, std::string text) {
    HintStep step;
    step.outcome = HintStep::Outcome::Placed;
    step.rule = rule;
    step.number = board.Text(p.word);
    step.cells.assign(board.Cells(p.run), board.Cells(p.run) + board.Length(p.run));
    step.down = board.Down(p.run);
    step.row = step.cells[0] / board.Width() + 1;
    step.column = step.cells[0] % board.Width() + 1;
    step.text = std::move(text);
    return step;
}

HintStep Outcome(HintStep::Outcome outcome, std::string text) {
    HintStep step;
    step.outcome = outcome;
    step.text = std::move(text);
    return step;
}

bool HasCandidate(const Board& board, const std::vector<Mask>& cand, int run, int word) {
    const int index = word - board.ListWord(run, 0);
    if (index < 0 || index >= board.ListChunks(run) * 64)
        return false;
    return (cand[At(board.RunChunk(run) + index / 64)] >> (index % 64)) & 1;
}

// The squares (cell x 2, + 1 when the limiting run goes down) that a crossing round narrowed so
// that `word` no longer fits `run`.
std::vector<int> Limiting(const Board& board, const State& s, const std::vector<Digits>& domain, int run,
                          int word) {
    std::vector<int> squares;
    for (int k = 0; k < board.Length(run); ++k) {
        const int cell = board.Cells(run)[k];
        const int crossing = board.Crossing(cell, !board.Down(run));
        if (crossing >= 0 && s.runWord[At(crossing)] < 0 &&
            !((domain[At(cell)] >> board.DigitOf(word, k)) & 1))
            squares.push_back(cell * 2 + (board.Down(run) ? 0 : 1));
    }
    return squares;
}

// Why Rule 2 places `p`: the other candidates of its run, or the other places of its number,
// that the narrowed digits rule out.
std::string CrossingReason(const Board& board, const State& s, const std::vector<Mask>& plain,
                           const std::vector<Digits>& domain, const Placement& p) {
    const Explainer say(board, s);
    std::vector<std::vector<int>> ruledOut;
    if (!p.onlyPlace) {
        for (int ch = 0; ch < board.ListChunks(p.run); ++ch)
            for (Mask bits = plain[At(board.RunChunk(p.run) + ch)]; bits != 0; bits &= bits - 1) {
                const int word = board.ListWord(p.run, ch * 64 + __builtin_ctzll(bits));
                if (word != p.word)
                    ruledOut.push_back(Limiting(board, s, domain, p.run, word));
            }
        const std::string pattern = say.Pattern(p.run);
        const bool blank = pattern.find_first_not_of("_ ") == std::string::npos;
        return say.Head(p) + say.Limits(Cover(ruledOut), domain) + ", so " + board.Text(p.word) +
               " is the only " + std::to_string(board.Length(p.run)) + "-digit number that fits" +
               (blank ? "" : " " + pattern) + ".";
    }
    for (int run = 0; run < board.Runs(); ++run)
        if (run != p.run && s.runWord[At(run)] < 0 && HasCandidate(board, plain, run, p.word))
            ruledOut.push_back(Limiting(board, s, domain, run, p.word));
    return say.Head(p) + say.Limits(Cover(ruledOut), domain) + ", so no other place fits " +
           board.Text(p.word) + ".";
}

} // namespace

HintStep NextStep(const FillIn& grid, std::int64_t budget) {
    Board board;
    if (!board.Prepare(grid)) {
        const std::string error = Solve(grid, 0).error;
        return Outcome(HintStep::Outcome::Error,
                       "The puzzle cannot be read: " +
                           (error.empty() ? std::string("its lists do not fit its grid") : error) + ".");
    }
    const std::string conflict = "The digits in the grid do not fit together: no solution has them all.";
    State s;
    Contradiction why;
    if (!board.Start(s, why))
        return Outcome(HintStep::Outcome::Conflict, conflict);
    if (s.open == 0)
        return Outcome(HintStep::Outcome::Complete, "Nothing to hint: the puzzle is solved.");

    // Rule 1 on the digits in the grid.
    std::vector<Placement> found;
    if (!board.Singles(s, nullptr, found, why))
        return Outcome(HintStep::Outcome::Conflict, conflict);
    if (!found.empty()) {
        const Explainer say(board, s);
        return Placed(board, found[0], Rule::Singles, say.Head(found[0]) + say.Single(found[0], "it") + ".");
    }

    // Rule 2: one crossing round.
    const std::vector<Mask> plain = board.LastCandidates();
    std::vector<Digits> domain(At(board.Width() * board.Width()));
    if (!board.Narrow(s, domain, why) || !board.Singles(s, domain.data(), found, why))
        return Outcome(HintStep::Outcome::Conflict, conflict);
    if (!found.empty())
        return Placed(board, found[0], Rule::Crossing, CrossingReason(board, s, plain, domain, found[0]));

    // Rule 3: trials, on the candidates the crossing round left. A candidate that a solution has
    // in its run can never be struck, so those of the solutions found (all of them, or as many as
    // the limit and the budget allow) are not tried, which keeps a grid that two fills fit (a
    // hidden starting number) quick. A search that ran out of steps proves no conflict.
    const SolveResult solved = Solve(grid, kCheckLimit, budget);
    if (solved.solutions == 0 && !solved.undecided)
        return Outcome(HintStep::Outcome::Conflict, conflict);
    const std::vector<Mask> narrowed = board.LastCandidates();
    std::vector<std::pair<int, int>> trials; // (candidates of the run, run)
    for (int run = 0; run < board.Runs(); ++run)
        if (s.runWord[At(run)] < 0)
            trials.emplace_back(Count(&narrowed[At(board.RunChunk(run))], board.ListChunks(run)), run);
    std::sort(trials.begin(), trials.end());
    const auto inSolution = [&](int run, int word) {
        return std::any_of(solved.grids.begin(), solved.grids.end(), [&](const SolvedGrid& g) {
            for (int k = 0; k < board.Length(run); ++k)
                if (g[At(board.Cells(run)[k])] != board.DigitOf(word, k))
                    return false;
            return true;
        });
    };
    for (const auto& [count, run] : trials) {
        for (int ch = 0; ch < board.ListChunks(run); ++ch)
            for (Mask bits = narrowed[At(board.RunChunk(run) + ch)]; bits != 0; bits &= bits - 1) {
                const int index = ch * 64 + __builtin_ctzll(bits);
                const int word = board.ListWord(run, index);
                if (inSolution(run, word))
                    continue;
                State trial = s;
                Contradiction broken;
                if (board.Place(trial, run, word, broken) && board.RulesUntilStuck(trial, broken))
                    continue;
                s.struck[At(board.RunChunk(run) + index / 64)] |= Mask{1} << (index % 64);
                if (!board.Singles(s, nullptr, found, why))
                    return Outcome(HintStep::Outcome::Conflict, conflict);
                if (found.empty() &&
                    (!board.Narrow(s, domain, why) || !board.Singles(s, domain.data(), found, why)))
                    return Outcome(HintStep::Outcome::Conflict, conflict);
                if (found.empty())
                    continue;
                const Explainer say(board, s);
                const Placement& p = found[0];
                const std::string tried = p.run == run ? "there" : say.Where(run);
                return Placed(board, p, Rule::Trial,
                              say.Head(p) + "trying " + board.Text(word) + " " + tried + " " +
                                  say.Contradicts(broken) + ", so " + board.Text(word) +
                                  " cannot go there and " + say.Single(p, board.Text(p.word)) + ".");
            }
    }
    if (solved.undecided)
        return Outcome(HintStep::Outcome::Stuck, kUndecidedText);
    if (solved.solutions > 1)
        return Outcome(HintStep::Outcome::Stuck,
                       "No rule finds the next number: the grid can still be filled in "
                       "more than one way, and Show Starting Number tells which.");
    return Outcome(HintStep::Outcome::Stuck, "No rule finds the next number from here.");
}

CheckResult CheckGrid(const FillIn& shown, const std::vector<int>& grid, std::int64_t budget) {
    CheckResult result;
    if (grid.size() != shown.white.size())
        result.error = "the grid does not have the puzzle's squares";
    const SolveResult solved = Solve(shown, kCheckLimit, budget);
    if (result.error.empty())
        result.error = solved.error;
    if (!result.error.empty())
        return result;
    // Without every solution in hand no digit can be called wrong.
    if (solved.undecided) {
        result.undecided = true;
        return result;
    }
    result.solutions = solved.solutions;
    for (std::size_t c = 0; c < grid.size(); ++c) {
        if (!shown.white[c])
            continue;
        ++result.squares;
        if (grid[c] < 0)
            continue;
        ++result.filled;
        if (solved.solutions == 0 || std::any_of(solved.grids.begin(), solved.grids.end(),
                                                 [&](const SolvedGrid& g) { return g[c] == grid[c]; }))
            continue;
        // Past the limit other solutions may have the digit: only a solve with it fixed can tell.
        if (solved.solutions >= kCheckLimit) {
            FillIn fixed = shown;
            fixed.given[c] = grid[c];
            const SolveResult one = Solve(fixed, 1, budget);
            if (one.solutions > 0 || one.undecided)
                continue;
        }
        result.wrong.push_back(static_cast<int>(c));
    }
    return result;
}

std::string CheckText(const CheckResult& result) {
    if (result.undecided)
        return kUndecidedText;
    if (result.wrong.size() == 1)
        return "1 square is wrong";
    if (!result.wrong.empty())
        return std::to_string(result.wrong.size()) + " squares are wrong";
    return "No mistakes so far: " + std::to_string(result.filled) + " of " + std::to_string(result.squares) +
           " squares filled";
}

bool IsSolved(const FillIn& shown, const std::vector<int>& grid) {
    if (grid.size() != shown.given.size())
        return false;
    for (std::size_t c = 0; c < grid.size(); ++c)
        if (shown.white[c] && (grid[c] < 0 || (shown.given[c] >= 0 && shown.given[c] != grid[c])))
            return false;
    // A full grid whose every run spells an unplaced number of its list uses each copy once.
    Board board;
    State s;
    Contradiction why;
    return board.Prepare(shown, &grid) && board.Start(s, why) && s.open == 0;
}

} // namespace corvana
