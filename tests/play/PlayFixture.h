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
inline const std::vector<const char*> kAllSizes{kSmall, kNormal, kLarge};

inline std::size_t Ix(int i) {
    return static_cast<std::size_t>(i);
}

struct PlayFixture {
    explicit PlayFixture(const std::string& name, bool noShowFirst = false, std::uint64_t seed = 11) {
        // Every colour of the scheme differs from the others and from black and white, so a colour
        // taken from the wrong slot, or never given back, shows.
        for (std::size_t k = 0; k < 3; ++k) {
            colors.BackgroundColor[k] = 0x102030 + static_cast<ColorValue>(k);
            colors.PrimaryColor[k] = 0x405060 + static_cast<ColorValue>(k);
            colors.SecondaryColor[k] = 0x708090 + static_cast<ColorValue>(k);
            colors.CheckedColor[k] = 0xA0B0C0 + static_cast<ColorValue>(k);
        }
        puzzle.PuzzleName = name;
        puzzle.NoShowFirst = noShowFirst;
        EXPECT_TRUE(GeneratePuzzle(puzzle, dialogs, seed));
        form = std::make_unique<PlayForm>(FormFor(FindTemplate(name)->size), puzzle, colors, dialogs, host);
        form->Form_Load();
    }

    int W() const { return form->Config().width; }
    int Count() const { return form->Config().CellCount(); }
    std::size_t K() const { return Ix(form->Config().ColorIndex()); }
    const GridCell& Cell(int i) const { return form->Cells().at(Ix(i)); }
    const std::string& Text(int i) const { return Cell(i).text; }
    bool White(int i) const { return puzzle.GridPattern.at(Ix(i)); }
    int Solution(int i) const { return puzzle.SolutionArray.at(Ix(i)); }
    std::string Sol(int i) const { return std::to_string(Solution(i)); }
    int User(int i) const { return puzzle.UserArray.at(Ix(i)); }
    bool InStarter(int i) const { return i >= puzzle.StarterFirstCell && i <= puzzle.StarterLastCell; }
    int FirstBlack() const {
        int i = 0;
        while (White(i))
            ++i;
        return i;
    }

    // A key as the window delivers it: key-down, then the key-press of its character unless
    // key-down discarded it, then key-up. Returns the key code key-down left.
    int Key(int cell, int code, int shift = 0) {
        int keyCode = code, shiftState = shift;
        form->txtGrid_KeyDown(cell, keyCode, shiftState);
        if (keyCode != 0) {
            int ascii = code >= vk::Numpad0 ? code - vk::Numpad0 + '0' : code;
            form->txtGrid_KeyPress(cell, ascii);
            EXPECT_EQ(ascii, 0) << "no character ever reaches a cell by itself";
        }
        int upCode = code, upShift = shift;
        form->txtGrid_KeyUp(cell, upCode, upShift);
        return keyCode;
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
            text += Sol(i);
        return text;
    }

    // A cell from which `length` white squares run across (or down), none of them in the
    // starting number; nullopt if the grid has none.
    std::optional<int> WhiteRun(int length, bool down) const {
        const int w = W(), step = down ? w : 1;
        for (int s = 0; s < Count(); ++s) {
            const int end = s + step * (length - 1);
            bool ok = end < Count() && (down || end / w == s / w);
            for (int c = s; c <= end && ok; c += step)
                ok = White(c) && !InStarter(c);
            if (ok)
                return s;
        }
        return std::nullopt;
    }
    int FreeCell() const { return *WhiteRun(1, false); }

    // Replaces the first caption of a list and lays the lists out again (the puzzle itself
    // keeps its numbers), so a test can choose the number it fills.
    void SetCaption(int digits, const std::string& caption, bool down = false) {
        (down ? puzzle.CaptionsDown[Ix(digits)] : puzzle.Captions[Ix(digits)]).at(0) = caption;
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
            const int expected = Text(i).empty() ? -1 : Text(i)[0] - '0';
            if (User(i) != expected)
                return ::testing::AssertionFailure()
                       << "cell " << i << " shows \"" << Text(i) << "\" but UserArray holds " << User(i);
        }
        return ::testing::AssertionSuccess();
    }

    ColorScheme colors;
    PuzzleState puzzle;
    FakeDialogs dialogs;
    FakePlayHost host;
    std::unique_ptr<PlayForm> form;
};

} // namespace corvana::test
