#pragma once

// One open play form on a puzzle generated with a fixed seed, and the small moves the tests
// make on it: keys as the window sends them, clicks, grid searches.

#include "FakeDialogs.h"
#include "FakePlayHost.h"
#include "play/PlayForm.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvana::test {

// One template of each size class.
inline constexpr const char* kSmall = "Small Puzzle H";
inline constexpr const char* kNormal = "Normal Puzzle Plus";
inline constexpr const char* kLarge = "Large Puzzle Crazy Eights";

inline std::size_t Ix(int i) {
    return static_cast<std::size_t>(i);
}

struct PlayFixture {
    explicit PlayFixture(const std::string& name, bool noShowFirst = false, std::uint64_t seed = 11) {
        SetDefaultColors(colors);
        puzzle.PuzzleName = name;
        puzzle.NoShowFirst = noShowFirst;
        EXPECT_TRUE(GeneratePuzzle(puzzle, dialogs, seed));
        form = std::make_unique<PlayForm>(FormFor(FindTemplate(name)->size), puzzle, colors, dialogs, host);
        form->Form_Load();
    }

    int W() const { return form->Config().width; }
    int Count() const { return form->Config().CellCount(); }
    const GridCell& Cell(int i) const { return form->Cells().at(Ix(i)); }
    const std::string& Text(int i) const { return Cell(i).text; }
    bool White(int i) const { return puzzle.GridPattern.at(Ix(i)); }
    int Solution(int i) const { return puzzle.SolutionArray.at(Ix(i)); }
    int User(int i) const { return puzzle.UserArray.at(Ix(i)); }
    bool InStarter(int i) const { return i >= puzzle.StarterFirstCell && i <= puzzle.StarterLastCell; }

    // A key as the window delivers it: key-down, then the key-press of its character unless
    // key-down discarded it, then key-up. Returns the key code key-down left.
    int Key(int cell, int code, int shift = 0) {
        int keyCode = code;
        int shiftState = shift;
        form->txtGrid_KeyDown(cell, keyCode, shiftState);
        if (keyCode != 0) {
            int ascii = code >= vk::Numpad0 ? code - vk::Numpad0 + '0' : code;
            form->txtGrid_KeyPress(cell, ascii);
            EXPECT_EQ(ascii, 0) << "no character ever reaches a cell by itself";
        }
        const int left = keyCode;
        int upCode = code;
        int upShift = shift;
        form->txtGrid_KeyUp(cell, upCode, upShift);
        return left;
    }
    void Type(int cell, int digit) { Key(cell, vk::Digit0 + digit); }

    // Two presses on the grid: the AutoFill start and the square giving the direction.
    void Fill(int start, int second) {
        form->txtGrid_MouseDown(start);
        form->txtGrid_MouseDown(second);
    }

    int BoxId(int digits, int index, bool down = false) const {
        const int id = form->FindBox(digits, down, index);
        EXPECT_GE(id, 0) << digits << " digits, box " << index;
        return id;
    }
    const ListBox& Box(int id) const { return form->Boxes().at(Ix(id)); }
    // Ticks a box by a user's click; the buffer then holds its caption.
    int Pick(int digits, int index, bool down = false) {
        const int id = BoxId(digits, index, down);
        form->BoxClick(id);
        return id;
    }
    // The `skip`-th visible box that is not ticked.
    int UntickedBox(int skip = 0) const {
        for (std::size_t id = 0; id < form->Boxes().size(); ++id)
            if (form->Boxes()[id].visible && form->Boxes()[id].value == 0 && skip-- == 0)
                return static_cast<int>(id);
        ADD_FAILURE() << "not enough unticked boxes";
        return -1;
    }
    std::vector<int> TickedIds() const {
        std::vector<int> out;
        for (std::size_t id = 0; id < form->Boxes().size(); ++id)
            if (form->Boxes()[id].value == 1)
                out.push_back(static_cast<int>(id));
        return out;
    }
    std::string StarterText() const {
        std::string text;
        for (int i = puzzle.StarterFirstCell; i <= puzzle.StarterLastCell; ++i)
            text += std::to_string(Solution(i));
        return text;
    }

    // A cell from which `length` white squares run across (or down), none of them in the
    // starting number; nullopt if the grid has none.
    std::optional<int> WhiteRun(int length, bool down) const {
        const int w = W();
        for (int s = 0; s < Count(); ++s) {
            const int step = down ? w : 1;
            const int end = s + step * (length - 1);
            if (end >= Count() || (!down && end / w != s / w))
                continue;
            bool ok = true;
            for (int c = s; c <= end && ok; c += step)
                ok = White(c) && !InStarter(c);
            if (ok)
                return s;
        }
        return std::nullopt;
    }
    std::optional<int> FirstWhiteOutsideStarter() const { return WhiteRun(1, false); }

    // Replaces the first caption of a list and lays the lists out again (the puzzle itself
    // keeps its numbers), so a test can choose the number it fills.
    void SetCaption(int digits, const std::string& caption, bool down = false) {
        auto& captions = down ? puzzle.CaptionsDown[Ix(digits)] : puzzle.Captions[Ix(digits)];
        captions.at(0) = caption;
        form->LoadPuzzle(false);
    }

    // Messages so far, texts only.
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : dialogs.messages)
            out.push_back(m.text);
        return out;
    }

    // The user grid equals what the cells show.
    ::testing::AssertionResult UserGridMatchesCells() const {
        for (int i = 0; i < Count(); ++i) {
            const std::string& t = Text(i);
            const int expected = t.empty() ? -1 : t[0] - '0';
            if (User(i) != expected)
                return ::testing::AssertionFailure()
                       << "cell " << i << " shows \"" << t << "\" but UserArray holds " << User(i);
        }
        return ::testing::AssertionSuccess();
    }

    ColorScheme colors;
    PuzzleState puzzle;
    FakeDialogs dialogs;
    FakePlayHost host;
    std::unique_ptr<PlayForm> form;
};

inline const std::vector<const char*>& AllSizes() {
    static const std::vector<const char*> names{kSmall, kNormal, kLarge};
    return names;
}

} // namespace corvana::test
