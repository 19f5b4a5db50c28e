#pragma once

// One open play form on a puzzle generated with a fixed seed, and the small moves the tests
// make on it: keys as the window sends them, clicks, grid searches.

#include "FakeDialogs.h"
#include "FakePlayHost.h"
#include "play/PlayForm.h"
#include "puzzle/GeneratePuzzle.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace corvana::test {

// One template of each size class.
inline constexpr const char* kSmall = "Small Puzzle H";
inline constexpr const char* kNormal = "Normal Puzzle Plus";
inline constexpr const char* kLarge = "Large Puzzle Crazy Eights";
inline const std::vector<const char*> kAllSizes{kSmall, kNormal, kLarge};

inline constexpr auto Ix = [](int i) { return static_cast<std::size_t>(i); };

// A notice of the play form: the user can only acknowledge it, under the program's name.
inline Message Notice(const std::string& text) {
    return {text, "Corvana", Buttons::Ok, Icon::None};
}

// Everything the window shows of a form and its state of play, for comparing whole states.
// Hidden boxes and labels show nothing, and fraWork only its background.
inline std::string Picture(const PlayForm& form) {
    std::ostringstream s;
    s << std::hex;
    for (const GridCell& c : form.Cells())
        s << (c.text.empty() ? "." : c.text) << "/" << c.fore << "/" << c.back << (c.wrong ? "!" : "")
          << (c.enabled ? " " : "x ");
    for (const ListBox& b : form.Boxes())
        if (b.visible)
            s << b.Name() << b.index << "=" << b.value << "/" << b.fore << "/" << b.back << " ";
    for (const FormLabel& l : form.Labels())
        if (l.visible)
            s << l.name << "/" << l.fore << "/" << l.back << " ";
    const FormFrame& grid = form.UserGridFrame();
    s << grid.caption << "/" << grid.fore << "/" << grid.back << "/" << form.WorkFrame().back << "/"
      << form.FormBackColor() << "|" << form.BufferCaption() << (form.BufferFromAcross() ? " across|" : "|")
      << form.UndoCaption() << (form.UndoEnabled() ? " on|" : " off|") << form.ShowStartingNumberVisible()
      << form.SolutionShown();
    return s.str();
}

struct PlayFixture {
    explicit PlayFixture(const std::string& name, bool noShowFirst = false, std::uint64_t seed = 11) {
        // Every colour of the scheme differs from the others and from black and white, so a colour
        // taken from the wrong slot, or never given back, shows.
        int n = 0;
        for (auto* slot :
             {&colors.BackgroundColor, &colors.PrimaryColor, &colors.SecondaryColor, &colors.CheckedColor})
            for (std::size_t k = 0; k < 3; ++k)
                (*slot)[k] = static_cast<ColorValue>(0x102030 * ++n);
        puzzle.PuzzleName = name;
        puzzle.NoShowFirst = noShowFirst;
        EXPECT_TRUE(GeneratePuzzle(puzzle, seed));
        form = std::make_unique<PlayForm>(FormFor(FindTemplate(name)->size), puzzle, exitRequested, colors,
                                          dialogs, host);
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
    // A cell's text and the user grid's value for it: "7:7", ":-1".
    std::string Entry(int i) const { return Text(i) + ":" + std::to_string(User(i)); }
    // What `text` says of `n` cells from `start` in steps of `step`, "." for an empty one; and the
    // cells' own texts.
    template <typename F> std::string RunOf(int start, int n, int step, F text) const {
        std::string s;
        for (int k = 0; k < n; ++k)
            s += std::string(text(start + k * step)).empty() ? "." : std::string(text(start + k * step));
        return s;
    }
    std::string Run(int start, int n, int step) const {
        return RunOf(start, n, step, [this](int i) { return Text(i); });
    }
    // Every cell's text, "." for an empty one; and as `text` says it should be cell by cell.
    std::string Grid() const { return Run(0, Count(), 1); }
    template <typename F> std::string GridOf(F text) const { return RunOf(0, Count(), 1, text); }
    // Every cell's colour: r red, k black, ? another; and an x for a disabled cell.
    std::string Colours() const {
        return GridOf([this](int i) {
            const ColorValue c = Cell(i).fore;
            return std::string(c == kRed ? "r" : c == kBlack ? "k" : "?") + (Cell(i).enabled ? "" : "x");
        });
    }
    // The undo history, the Undo entry's caption and whether it is enabled.
    std::string Undo() const {
        std::string s;
        for (const auto& record : form->UndoArray())
            s += record + " ";
        return s + "|" + form->UndoCaption() + (form->UndoEnabled() ? "|on" : "|off");
    }
    int FirstBlack() const {
        return static_cast<int>(std::find(puzzle.GridPattern.begin(), puzzle.GridPattern.end(), false) -
                                puzzle.GridPattern.begin());
    }

    // A key as the window delivers it: key-down, key-press unless key-down discarded it, key-up.
    // Returns the key code key-down left; a key it discards leaves no shift state either.
    int Key(int cell, int code, int shift = 0) {
        int keyCode = code, shiftState = shift, ascii = code, upCode = code, upShift = shift;
        form->txtGrid_KeyDown(cell, keyCode, shiftState);
        EXPECT_TRUE(keyCode != 0 || shiftState == 0) << "key " << code << " discarded, its shift state kept";
        if (keyCode != 0)
            form->txtGrid_KeyPress(cell, ascii);
        form->txtGrid_KeyUp(cell, upCode, upShift);
        EXPECT_EQ(std::tuple(keyCode ? ascii : 0, upCode, upShift), std::tuple(0, 0, 0)) << "no key types";
        return keyCode;
    }
    void Type(int cell, int digit) { Key(cell, vk::Digit0 + digit); }
    // Two presses on the grid: the AutoFill start and the square giving the direction.
    void Fill(int start, int second) {
        form->txtGrid_MouseDown(start);
        form->txtGrid_MouseDown(second);
    }

    const ListBox& Box(int id) const { return form->Boxes().at(Ix(id)); }
    // Ticks the `nth` box of a list by a user's click; the buffer then holds its caption.
    void Pick(int digits, int nth, bool down = false) { form->BoxClick(form->FindBox(digits, down, nth)); }
    // The `skip`-th visible box that is not ticked.
    int UntickedBox(int skip = 0) const {
        for (std::size_t id = 0; id < form->Boxes().size(); ++id)
            if (form->Boxes()[id].visible && form->Boxes()[id].value == 0 && skip-- == 0)
                return static_cast<int>(id);
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
        const int first = puzzle.StarterFirstCell;
        return RunOf(first, puzzle.StarterLastCell - first + 1, 1, [this](int i) { return Sol(i); });
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
    int LastWhite() const { // the grid's last white square
        const auto& white = puzzle.GridPattern;
        return static_cast<int>(white.rend() - std::find(white.rbegin(), white.rend(), true)) - 1;
    }

    ColorScheme colors;
    PuzzleState puzzle;
    bool exitRequested = false;
    FakeDialogs dialogs;
    FakePlayHost host;
    std::unique_ptr<PlayForm> form;
};

} // namespace corvana::test
