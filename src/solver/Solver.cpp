#include "solver/Solver.h"

#include <algorithm>
#include <array>

namespace corvana {

namespace {

using Digits = std::uint16_t; // bit d set: digit d is still possible in a cell
constexpr Digits kAnyDigit = 0x3FF;
constexpr int kMaxWidth = 64;

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

int LowestDigit(Digits set) {
    int d = 0;
    while (!(set & (1u << d)))
        ++d;
    return d;
}

// A number from a file as a message shows it: a hostile one may be a megabyte long.
std::string Shortened(const std::string& text) {
    return text.size() > 40 ? text.substr(0, 40) + "..." : text;
}

std::string CellName(int cell, int width) {
    return "column " + std::to_string(cell % width + 1) + " row " + std::to_string(cell / width + 1);
}

// A run of two or more white squares across or down: the place of one number.
struct Slot {
    int length = 0;
    int pool = 0; // the list its number comes from
    bool down = false;
};

// The search keeps one copy of its state per depth, all in buffers sized once, so trying a
// number is a copy and an undo is stepping back a level: nothing is allocated while searching.
// The numbers of one list are bits of 64-bit chunks; for every position and digit a mask tells
// which numbers have that digit there, so the numbers that fit a slot are a few ANDs away.
class Search {
public:
    std::string Prepare(const FillIn& p);
    void Run(int limit, std::int64_t budget, SolveResult& result);

private:
    using Mask = std::uint64_t;

    struct Level {
        std::vector<Digits> domain;
        std::vector<std::int16_t> copies;   // copies of each word not yet placed
        std::vector<std::int16_t> slotWord; // the word placed in each slot, or -1
        std::vector<Mask> unplaced;         // the words with copies left, by chunk
        std::vector<Mask> choices;          // the words tried in the branching slot
        int open = 0;                       // slots still without a word
    };

    std::string AddSlots();
    std::string AddWords(const FillIn& p);
    int Candidates(const Level& level, int slot, Mask* out) const;
    bool Place(Level& level, int slot, int word);
    bool ScanQueued(Level& level);
    int ScanAll(Level& level, bool& forced);
    bool Propagate(Level& level, int& branchSlot);
    void Explore(int depth);
    Level& LevelAt(int depth);
    void Push(int slot);
    void ClearQueue();
    int FirstChunk(int pool) const { return poolChunk_[At(pool)]; }
    int Chunks(int pool) const { return poolChunk_[At(pool + 1)] - poolChunk_[At(pool)]; }
    const Mask& DigitMask(int chunk, int position, int digit) const {
        return digitMasks_[(At(chunk) * At(stride_) + At(position)) * 10 + At(digit)];
    }

    int width_ = 0;
    int cells_ = 0;
    int stride_ = 0; // the longest slot
    std::vector<Slot> slots_;
    std::vector<int> slotCells_; // slot s: cells [s * stride_, s * stride_ + length)
    std::vector<int> cellSlots_; // cell c: its across slot at 2c, its down slot at 2c + 1, or -1
    std::vector<std::uint8_t> wordDigits_;
    std::vector<int> poolBegin_; // the words of pool p are [poolBegin_[p], poolBegin_[p + 1])
    std::vector<int> poolChunk_; // and their bits the chunks [poolChunk_[p], poolChunk_[p + 1])
    std::size_t maxChunks_ = 1;
    std::vector<Mask> digitMasks_;
    std::vector<std::int16_t> initialCopies_;
    std::vector<std::array<Digits, kMaxWidth>> poolDigits_; // the digits a pool's words have at each position
    std::vector<char> white_;
    std::vector<int> given_;

    // Made when the search first goes that deep: most puzzles are solved at the first level.
    // Room is reserved for the deepest search, so a level never moves while one above uses it.
    std::vector<Level> levels_;
    std::size_t words_ = 0;
    std::size_t chunks_ = 0;

    std::vector<int> queue_;
    std::size_t queueHead_ = 0;
    std::vector<char> queued_;
    std::vector<int> fits_;
    std::vector<int> forcedSlots_;
    std::vector<Mask> scratch_;

    int limit_ = 2;
    SolveResult* result_ = nullptr;
    // Counted where the work is (Candidates); once past the budget every loop ends as if at a
    // dead end and the search unwinds.
    mutable std::int64_t steps_ = 0;
    std::int64_t budget_ = 0;
    bool cut_ = false; // the search stopped short for the budget
    bool OutOfSteps() {
        cut_ = cut_ || steps_ > budget_;
        return cut_;
    }
};

std::string Search::AddSlots() {
    cellSlots_.assign(At(cells_ * 2), -1);
    std::vector<int> cellsOfSlots;
    for (int dir = 0; dir < 2; ++dir) {
        const bool down = dir == 1;
        for (int line = 0; line < width_; ++line) {
            int pos = 0;
            while (pos < width_) {
                const auto cellAt = [&](int k) { return down ? k * width_ + line : line * width_ + k; };
                if (!white_[At(cellAt(pos))]) {
                    ++pos;
                    continue;
                }
                int end = pos;
                while (end < width_ && white_[At(cellAt(end))])
                    ++end;
                if (end - pos >= 2) {
                    const int id = static_cast<int>(slots_.size());
                    slots_.push_back({end - pos, 0, down});
                    for (int k = pos; k < end; ++k) {
                        cellsOfSlots.push_back(cellAt(k));
                        cellSlots_[At(cellAt(k) * 2 + dir)] = id;
                    }
                    stride_ = std::max(stride_, end - pos);
                }
                pos = end;
            }
        }
    }
    for (int c = 0; c < cells_; ++c)
        if (white_[At(c)] && cellSlots_[At(c * 2)] < 0 && cellSlots_[At(c * 2 + 1)] < 0)
            return "the white square at " + CellName(c, width_) + " belongs to no number";

    slotCells_.assign(slots_.size() * At(stride_), -1);
    std::size_t next = 0;
    for (std::size_t s = 0; s < slots_.size(); ++s)
        for (int k = 0; k < slots_[s].length; ++k)
            slotCells_[s * At(stride_) + At(k)] = cellsOfSlots[next++];
    return {};
}

std::string Search::AddWords(const FillIn& p) {
    // One list per length, or per length and direction when the lists are apart; a list's key
    // is 2 x length (+ 1 for DOWN).
    const auto keyOf = [&](int length, bool down) { return At(length * 2 + (p.separate && down ? 1 : 0)); };
    std::vector<int> slotsPerList(At(kMaxWidth + 1) * 2, 0);
    for (const Slot& slot : slots_)
        ++slotsPerList[keyOf(slot.length, slot.down)];

    const auto listName = [&](std::size_t key) {
        return std::to_string(key / 2) + "-digit " + (p.separate ? (key % 2 ? "DOWN " : "ACROSS ") : "") +
               "list";
    };
    std::vector<const std::vector<std::string>*> lists(slotsPerList.size(), nullptr);
    if (!p.separate && !p.down.empty())
        return "down lists are given for a puzzle whose lists are joined";
    for (const bool down : {false, true}) {
        for (const auto& [length, numbers] : down ? p.down : p.across) {
            if (length < 2 || length > kMaxWidth)
                return "there is a list of " + std::to_string(length) + "-digit numbers";
            const std::size_t key = keyOf(length, down);
            for (const std::string& number : numbers) {
                const bool digitsOnly =
                    std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
                if (!digitsOnly || static_cast<int>(number.size()) != length)
                    return "the " + listName(key) + " holds \"" + Shortened(number) + "\", which is not a " +
                           std::to_string(length) + "-digit number";
            }
            if (!numbers.empty())
                lists[key] = &numbers;
        }
    }
    for (std::size_t key = 0; key < lists.size(); ++key) {
        const std::size_t listed = lists[key] == nullptr ? 0 : lists[key]->size();
        if (listed == At(slotsPerList[key]))
            continue;
        if (slotsPerList[key] == 0)
            return "the grid has no place for the " + listName(key);
        return "the grid has " + std::to_string(slotsPerList[key]) + " places for the " + listName(key) +
               " but it holds " + std::to_string(listed) + " numbers";
    }

    std::vector<int> poolOf(lists.size(), -1);
    std::vector<const std::string*> sorted;
    sorted.reserve(slots_.size());
    wordDigits_.reserve(slots_.size() * At(stride_));
    initialCopies_.reserve(slots_.size());
    digitMasks_.reserve(slots_.size() * At(stride_) * 10);
    poolChunk_.push_back(0);
    for (std::size_t key = 0; key < lists.size(); ++key) {
        if (lists[key] == nullptr)
            continue;
        poolOf[key] = static_cast<int>(poolBegin_.size());
        poolBegin_.push_back(static_cast<int>(initialCopies_.size()));
        poolDigits_.emplace_back();
        // Equal numbers side by side become one word with copies.
        sorted.clear();
        for (const std::string& number : *lists[key])
            sorted.push_back(&number);
        const auto less = [](const std::string* a, const std::string* b) { return *a < *b; };
        if (!std::is_sorted(sorted.begin(), sorted.end(), less))
            std::sort(sorted.begin(), sorted.end(), less);
        const int length = static_cast<int>(key / 2);
        int inPool = 0;
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            if (k > 0 && *sorted[k] == *sorted[k - 1]) {
                ++initialCopies_.back();
                continue;
            }
            if (inPool % 64 == 0)
                digitMasks_.resize(digitMasks_.size() + At(stride_) * 10, 0);
            const std::size_t chunk = At(poolChunk_.back() + inPool / 64);
            initialCopies_.push_back(1);
            wordDigits_.resize(wordDigits_.size() + At(stride_), 0);
            std::uint8_t* digits = &wordDigits_[wordDigits_.size() - At(stride_)];
            for (int m = 0; m < length; ++m) {
                digits[m] = static_cast<std::uint8_t>((*sorted[k])[At(m)] - '0');
                digitMasks_[(chunk * At(stride_) + At(m)) * 10 + digits[m]] |= Mask{1} << (inPool % 64);
                poolDigits_[poolBegin_.size() - 1][At(m)] |= static_cast<Digits>(1u << digits[m]);
            }
            ++inPool;
        }
        poolChunk_.push_back(poolChunk_.back() + (inPool + 63) / 64);
    }
    poolBegin_.push_back(static_cast<int>(initialCopies_.size()));
    for (Slot& slot : slots_)
        slot.pool = poolOf[keyOf(slot.length, slot.down)];
    return {};
}

std::string Search::Prepare(const FillIn& p) {
    width_ = p.width;
    if (width_ < 2 || width_ > kMaxWidth)
        return "the grid is " + std::to_string(width_) + " squares wide (2 to " + std::to_string(kMaxWidth) +
               " expected)";
    cells_ = width_ * width_;
    if (p.white.size() != At(cells_) || p.given.size() != At(cells_))
        return "the grid does not have " + std::to_string(width_) + " x " + std::to_string(width_) +
               " squares";
    white_.assign(p.white.begin(), p.white.end());
    for (int c = 0; c < cells_; ++c) {
        const int digit = p.given[At(c)];
        if (digit < -1 || digit > 9 || (digit >= 0 && !white_[At(c)]))
            return "the square at " + CellName(c, width_) + " holds something other than a digit";
    }
    given_ = p.given;
    if (std::string error = AddSlots(); !error.empty())
        return error;
    if (slots_.empty())
        return "the grid has no place for a number";
    return AddWords(p);
}

// The words of the slot's list that fit its squares, as bits of the list's chunks.
int Search::Candidates(const Level& level, int slot, Mask* out) const {
    const Slot& s = slots_[At(slot)];
    const int first = FirstChunk(s.pool);
    const int chunks = Chunks(s.pool);
    steps_ += chunks * s.length;
    for (int ch = 0; ch < chunks; ++ch)
        out[ch] = level.unplaced[At(first + ch)];
    const int* cells = &slotCells_[At(slot * stride_)];
    for (int k = 0; k < s.length; ++k) {
        const Digits domain = level.domain[At(cells[k])];
        if (domain == kAnyDigit)
            continue;
        for (int ch = 0; ch < chunks; ++ch) {
            Mask fit = 0;
            for (unsigned rest = domain; rest != 0; rest &= rest - 1)
                fit |= DigitMask(first + ch, k, __builtin_ctz(rest));
            out[ch] &= fit;
        }
    }
    int count = 0;
    for (int ch = 0; ch < chunks; ++ch)
        count += __builtin_popcountll(out[ch]);
    return count;
}

void Search::Push(int slot) {
    if (queued_[At(slot)])
        return;
    queued_[At(slot)] = 1;
    queue_.push_back(slot);
}

void Search::ClearQueue() {
    for (std::size_t k = queueHead_; k < queue_.size(); ++k)
        queued_[At(queue_[k])] = 0;
    queue_.clear();
    queueHead_ = 0;
}

// Puts `word` in `slot` and queues the crossing slots whose squares it narrowed.
bool Search::Place(Level& level, int slot, int word) {
    const Slot& s = slots_[At(slot)];
    if (level.copies[At(word)] <= 0)
        return false;
    if (--level.copies[At(word)] == 0) {
        const int index = word - poolBegin_[At(s.pool)];
        level.unplaced[At(FirstChunk(s.pool) + index / 64)] &= ~(Mask{1} << (index % 64));
    }
    level.slotWord[At(slot)] = static_cast<std::int16_t>(word);
    --level.open;
    const int* cells = &slotCells_[At(slot * stride_)];
    const std::uint8_t* digits = &wordDigits_[At(word * stride_)];
    const int crossingDir = s.down ? 0 : 1;
    for (int k = 0; k < s.length; ++k) {
        const Digits bit = static_cast<Digits>(1u << digits[k]);
        Digits& domain = level.domain[At(cells[k])];
        if (!(domain & bit))
            return false;
        if (domain == bit)
            continue;
        domain = bit;
        const int crossing = cellSlots_[At(cells[k] * 2 + crossingDir)];
        if (crossing >= 0 && level.slotWord[At(crossing)] < 0)
            Push(crossing);
    }
    return true;
}

// Narrows every queued slot to the digits its remaining numbers allow; a slot that only one
// number fits takes it.
bool Search::ScanQueued(Level& level) {
    Mask* fit = scratch_.data();
    while (queueHead_ < queue_.size()) {
        if (OutOfSteps())
            return false;
        const int slot = queue_[queueHead_++];
        queued_[At(slot)] = 0;
        if (level.slotWord[At(slot)] >= 0)
            continue;
        const Slot& s = slots_[At(slot)];
        const int count = Candidates(level, slot, fit);
        if (count == 0)
            return false;
        const int chunks = Chunks(s.pool);
        if (count == 1) {
            int ch = 0;
            while (fit[ch] == 0)
                ++ch;
            const int word = poolBegin_[At(s.pool)] + ch * 64 + __builtin_ctzll(fit[ch]);
            if (!Place(level, slot, word))
                return false;
            continue;
        }
        // The digits still possible in each square: read off the few fitting words, or, when
        // many fit, asked of the digit masks.
        Digits allowed[kMaxWidth] = {};
        const int* cells = &slotCells_[At(slot * stride_)];
        if (count == poolBegin_[At(s.pool + 1)] - poolBegin_[At(s.pool)]) {
            // Nothing ruled out yet: the list's own digits, worked out once.
            std::copy_n(poolDigits_[At(s.pool)].begin(), s.length, allowed);
        } else if (count <= 8) {
            for (int ch = 0; ch < chunks; ++ch)
                for (Mask bits = fit[ch]; bits != 0; bits &= bits - 1) {
                    const int word = poolBegin_[At(s.pool)] + ch * 64 + __builtin_ctzll(bits);
                    const std::uint8_t* digits = &wordDigits_[At(word * stride_)];
                    for (int k = 0; k < s.length; ++k)
                        allowed[k] = static_cast<Digits>(allowed[k] | (1u << digits[k]));
                }
        } else {
            const int first = FirstChunk(s.pool);
            for (int k = 0; k < s.length; ++k)
                for (unsigned rest = level.domain[At(cells[k])]; rest != 0; rest &= rest - 1) {
                    const int d = __builtin_ctz(rest);
                    for (int ch = 0; ch < chunks; ++ch)
                        if (fit[ch] & DigitMask(first + ch, k, d)) {
                            allowed[k] = static_cast<Digits>(allowed[k] | (1u << d));
                            break;
                        }
                }
        }
        const int crossingDir = s.down ? 0 : 1;
        for (int k = 0; k < s.length; ++k) {
            Digits& domain = level.domain[At(cells[k])];
            if (allowed[k] == domain)
                continue;
            domain = allowed[k];
            const int crossing = cellSlots_[At(cells[k] * 2 + crossingDir)];
            if (crossing >= 0 && level.slotWord[At(crossing)] < 0)
                Push(crossing);
        }
    }
    return true;
}

// Counts, for every open slot, the numbers that fit it and, for every number, the slots it
// fits. Every copy of every number must be placed, so a number that fits fewer slots than it
// has copies is a dead end, and one that fits exactly as many goes in all of them. Returns the
// open slot with the fewest choices (-1 for a dead end or when none is open); `forced` tells
// that something was placed or queued and the caller must propagate again.
int Search::ScanAll(Level& level, bool& forced) {
    forced = false;
    std::fill(fits_.begin(), fits_.end(), 0);
    Mask* fit = scratch_.data();
    int best = -1;
    int bestCount = 0;
    for (int slot = 0; slot < static_cast<int>(slots_.size()); ++slot) {
        if (level.slotWord[At(slot)] >= 0)
            continue;
        if (OutOfSteps())
            return -1;
        const Slot& s = slots_[At(slot)];
        const int count = Candidates(level, slot, fit);
        if (count == 0)
            return -1;
        if (count == 1) {
            Push(slot);
            forced = true;
        }
        for (int ch = 0; ch < Chunks(s.pool); ++ch)
            for (Mask bits = fit[ch]; bits != 0; bits &= bits - 1)
                ++fits_[At(poolBegin_[At(s.pool)] + ch * 64 + __builtin_ctzll(bits))];
        if (best < 0 || count < bestCount) {
            best = slot;
            bestCount = count;
        }
    }
    if (forced)
        return best;
    for (int w = 0; w < static_cast<int>(words_); ++w) {
        const int copies = level.copies[At(w)];
        if (copies <= 0 || fits_[At(w)] > copies)
            continue;
        if (fits_[At(w)] < copies)
            return -1;
        forcedSlots_.clear();
        for (int slot = 0; slot < static_cast<int>(slots_.size()); ++slot) {
            const int pool = slots_[At(slot)].pool;
            if (level.slotWord[At(slot)] >= 0 || w < poolBegin_[At(pool)] || w >= poolBegin_[At(pool + 1)])
                continue;
            Candidates(level, slot, fit);
            const int index = w - poolBegin_[At(pool)];
            if (fit[index / 64] & (Mask{1} << (index % 64)))
                forcedSlots_.push_back(slot);
        }
        for (const int slot : forcedSlots_)
            if (!Place(level, slot, w))
                return -1;
        forced = true;
        return best;
    }
    return best;
}

bool Search::Propagate(Level& level, int& branchSlot) {
    for (;;) {
        if (!ScanQueued(level))
            return false;
        if (level.open == 0) {
            branchSlot = -1;
            return true;
        }
        bool forced = false;
        branchSlot = ScanAll(level, forced);
        if (branchSlot < 0)
            return false;
        if (!forced)
            return true;
    }
}

Search::Level& Search::LevelAt(int depth) {
    while (levels_.size() <= At(depth)) {
        Level& level = levels_.emplace_back();
        level.domain.resize(At(cells_));
        level.copies.resize(words_);
        level.slotWord.resize(slots_.size());
        level.unplaced.resize(chunks_);
        level.choices.resize(maxChunks_);
    }
    return levels_[At(depth)];
}

void Search::Explore(int depth) {
    if (OutOfSteps())
        return;
    Level& level = LevelAt(depth);
    int branchSlot = -1;
    const bool alive = Propagate(level, branchSlot);
    ClearQueue();
    if (!alive)
        return;
    if (level.open == 0) {
        if (++result_->solutions > limit_)
            return;
        SolvedGrid grid(At(cells_), -1);
        for (int c = 0; c < cells_; ++c)
            if (white_[At(c)])
                grid[At(c)] = static_cast<std::int8_t>(LowestDigit(level.domain[At(c)]));
        result_->grids.push_back(std::move(grid));
        return;
    }
    // Each choice is tried on a copy one level down.
    const Slot& s = slots_[At(branchSlot)];
    Candidates(level, branchSlot, level.choices.data());
    for (int ch = 0; ch < Chunks(s.pool); ++ch) {
        for (Mask bits = level.choices[At(ch)]; bits != 0; bits &= bits - 1) {
            const int word = poolBegin_[At(s.pool)] + ch * 64 + __builtin_ctzll(bits);
            Level& next = LevelAt(depth + 1);
            next.domain = level.domain;
            next.copies = level.copies;
            next.slotWord = level.slotWord;
            next.unplaced = level.unplaced;
            next.open = level.open;
            if (Place(next, branchSlot, word))
                Explore(depth + 1);
            else
                ClearQueue();
            if (result_->solutions >= limit_ || OutOfSteps())
                return;
        }
    }
}

void Search::Run(int limit, std::int64_t budget, SolveResult& result) {
    limit_ = limit;
    budget_ = budget;
    result_ = &result;
    words_ = initialCopies_.size();
    chunks_ = At(poolChunk_.back());
    for (std::size_t p = 0; p + 1 < poolChunk_.size(); ++p)
        maxChunks_ = std::max(maxChunks_, At(poolChunk_[p + 1] - poolChunk_[p]));
    // Every level places at least one number, so there are never more levels than slots.
    levels_.reserve(slots_.size() + 1);
    queue_.reserve(slots_.size() * 2);
    queued_.assign(slots_.size(), 0);
    fits_.assign(words_, 0);
    forcedSlots_.reserve(slots_.size());
    scratch_.assign(maxChunks_, 0);

    Level& root = LevelAt(0);
    for (int c = 0; c < cells_; ++c)
        root.domain[At(c)] = given_[At(c)] >= 0 ? static_cast<Digits>(1u << given_[At(c)]) : kAnyDigit;
    root.copies = initialCopies_;
    std::fill(root.slotWord.begin(), root.slotWord.end(), std::int16_t{-1});
    for (std::size_t p = 0; p + 1 < poolBegin_.size(); ++p) {
        const int count = poolBegin_[p + 1] - poolBegin_[p];
        for (int ch = 0; ch < poolChunk_[p + 1] - poolChunk_[p]; ++ch) {
            const int bits = std::min(64, count - ch * 64);
            root.unplaced[At(poolChunk_[p] + ch)] = bits == 64 ? ~Mask{0} : (Mask{1} << bits) - 1;
        }
    }
    root.open = static_cast<int>(slots_.size());
    for (int slot = 0; slot < static_cast<int>(slots_.size()); ++slot)
        Push(slot);
    Explore(0);
    result.steps = steps_;
    result.undecided = cut_ && result.solutions < limit_;
}

} // namespace

SolveResult Solve(const FillIn& puzzle, int limit, std::int64_t budget) {
    SolveResult result;
    Search search;
    result.error = search.Prepare(puzzle);
    if (result.error.empty() && limit > 0)
        search.Run(limit, budget, result);
    return result;
}

} // namespace corvana
