#include "puzzle/Templates.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace corvana;

namespace {

struct Expected {
    int black;
    int first;
    int last;
};

// Black squares and starting-number cells as the puzzle makers published them.
const std::map<std::string, Expected> kExpected = {
    {"Small Puzzle H", {24, 0, 1}},
    {"Small Puzzle Pinwheel", {28, 33, 38}},
    {"Small Puzzle Five Squares", {24, 60, 69}},
    {"Small Puzzle Wheel", {32, 30, 33}},
    {"Small Puzzle Project X", {24, 20, 21}},
    {"Normal Puzzle Plus", {45, 75, 81}},
    {"Normal Puzzle Steps", {40, 5, 9}},
    {"Normal Puzzle Shield", {53, 34, 40}},
    {"Normal Puzzle Broken Pieces", {44, 68, 71}},
    {"Normal Puzzle Five Plus", {61, 120, 126}},
    {"Normal Puzzle Angled", {59, 3, 9}},
    {"Normal Puzzle HTT", {51, 68, 74}},
    {"Large Puzzle Crazy Eights", {144, 222, 227}},
    {"Large Puzzle Squares", {172, 240, 246}},
    {"Large Puzzle Four Electrodes", {144, 1, 7}},
};

} // namespace

TEST(Templates, DispatchOrderIsFixed) {
    const std::vector<std::string> order = {
        "Small Puzzle H",       "Small Puzzle Pinwheel",       "Small Puzzle Five Squares",
        "Small Puzzle Wheel",   "Normal Puzzle Plus",          "Normal Puzzle Steps",
        "Normal Puzzle Shield", "Normal Puzzle Broken Pieces", "Large Puzzle Crazy Eights",
        "Large Puzzle Squares", "Normal Puzzle Five Plus",     "Normal Puzzle Angled",
        "Normal Puzzle HTT",    "Small Puzzle Project X",      "Large Puzzle Four Electrodes"};
    ASSERT_EQ(Templates().size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(Templates()[i].name, order[i]);
    EXPECT_EQ(FindTemplate("small puzzle h"), nullptr);
    EXPECT_EQ(FindTemplate("Small Puzzle H "), nullptr) << "names compare exactly";
    ASSERT_NE(FindTemplate("Small Puzzle H"), nullptr);
}

TEST(Templates, PicturesBlackSquaresAndStartersMatchThePublishedRecords) {
    for (const auto& t : Templates()) {
        SCOPED_TRACE(std::string(t.name));
        const int w = t.Width();
        ASSERT_EQ(t.picture.size(), static_cast<std::size_t>(w));
        int black = 0;
        for (const auto row : t.picture) {
            ASSERT_EQ(row.size(), static_cast<std::size_t>(w));
            for (const char c : row) {
                ASSERT_TRUE(c == 'X' || c == '.');
                black += c == 'X';
            }
        }
        const Expected& e = kExpected.at(std::string(t.name));
        EXPECT_EQ(black, e.black);
        EXPECT_EQ(t.StarterFirstCell(), e.first);
        EXPECT_EQ(t.StarterLastCell(), e.last);
        EXPECT_EQ(t.StarterFirstCell() / w, t.StarterLastCell() / w) << "the starter runs across one row";
    }
}

TEST(Templates, EveryWhiteSquareLiesInExactlyOneMaximalAcrossAndDownSlot) {
    for (const auto& t : Templates()) {
        SCOPED_TRACE(std::string(t.name));
        const int w = t.Width();
        const int cells = w * w;
        std::vector<int> across(static_cast<std::size_t>(cells)), down(static_cast<std::size_t>(cells));
        int previous = 0;
        for (const auto& g : t.slots) {
            EXPECT_GT(g.digits, previous) << "groups ascend";
            previous = g.digits;
            for (const int f : g.across) {
                const int last = f + g.digits - 1;
                ASSERT_EQ(f / w, last / w) << "across slot " << f << " leaves its row";
                EXPECT_TRUE(f % w == 0 || t.IsBlack(f - 1)) << f;
                EXPECT_TRUE(last % w == w - 1 || t.IsBlack(last + 1)) << f;
                for (int c = f; c <= last; ++c) {
                    EXPECT_FALSE(t.IsBlack(c)) << c;
                    ++across[static_cast<std::size_t>(c)];
                }
            }
            for (const int f : g.down) {
                const int last = f + (g.digits - 1) * w;
                ASSERT_LT(last, cells);
                EXPECT_TRUE(f < w || t.IsBlack(f - w)) << f;
                EXPECT_TRUE(last >= cells - w || t.IsBlack(last + w)) << f;
                for (int c = f; c <= last; c += w) {
                    EXPECT_FALSE(t.IsBlack(c)) << c;
                    ++down[static_cast<std::size_t>(c)];
                }
            }
        }
        for (int c = 0; c < cells; ++c) {
            const int expected = t.IsBlack(c) ? 0 : 1;
            EXPECT_EQ(across[static_cast<std::size_t>(c)], expected) << "cell " << c;
            EXPECT_EQ(down[static_cast<std::size_t>(c)], expected) << "cell " << c;
        }
    }
}

TEST(Templates, EveryPictureSurvivesAHalfTurn) {
    for (const auto& t : Templates()) {
        const int cells = t.Width() * t.Width();
        for (int c = 0; c < cells; ++c)
            ASSERT_EQ(t.IsBlack(c), t.IsBlack(cells - 1 - c)) << t.name << " cell " << c;
    }
}
