#include "puzzle/Templates.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

using namespace corvana;

namespace {

struct Expected {
    const char* name;
    int black;
    int first;
    int last;
};

// In dispatch order: black squares and starting-number cells as the puzzle makers published them.
const Expected kExpected[] = {
    {"Small Puzzle H", 24, 0, 1},
    {"Small Puzzle Pinwheel", 28, 33, 38},
    {"Small Puzzle Five Squares", 24, 60, 69},
    {"Small Puzzle Wheel", 32, 30, 33},
    {"Normal Puzzle Plus", 45, 75, 81},
    {"Normal Puzzle Steps", 40, 5, 9},
    {"Normal Puzzle Shield", 53, 34, 40},
    {"Normal Puzzle Broken Pieces", 44, 68, 71},
    {"Large Puzzle Crazy Eights", 144, 222, 227},
    {"Large Puzzle Squares", 172, 240, 246},
    {"Normal Puzzle Five Plus", 61, 120, 126},
    {"Normal Puzzle Angled", 59, 3, 9},
    {"Normal Puzzle HTT", 51, 68, 74},
    {"Small Puzzle Project X", 24, 20, 21},
    {"Large Puzzle Four Electrodes", 144, 1, 7},
};

} // namespace

TEST(Templates, OrderPicturesStartersAndSlotsMatchThePublishedRecords) {
    ASSERT_EQ(Templates().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        const auto& t = Templates()[i];
        const Expected& e = kExpected[i];
        SCOPED_TRACE(e.name);
        ASSERT_EQ(t.name, e.name);
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
        EXPECT_EQ(black, e.black);
        EXPECT_EQ(t.StarterFirstCell(), e.first);
        EXPECT_EQ(t.StarterLastCell(), e.last);
        EXPECT_EQ(t.StarterFirstCell() / w, t.StarterLastCell() / w) << "the starter runs across one row";
        const int cells = w * w;
        for (int c = 0; c < cells; ++c)
            ASSERT_EQ(t.IsBlack(c), t.IsBlack(cells - 1 - c)) << "a half turn changes cell " << c;
        // Every white square lies in exactly one maximal across and one maximal down slot.
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
    EXPECT_EQ(FindTemplate("small puzzle h"), nullptr);
    EXPECT_EQ(FindTemplate("Small Puzzle H "), nullptr) << "names compare exactly";
    ASSERT_NE(FindTemplate("Small Puzzle H"), nullptr);
}
