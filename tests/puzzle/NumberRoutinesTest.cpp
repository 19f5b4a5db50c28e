#include "puzzle/NumberRoutines.h"
#include "FakeDialogs.h"
#include "puzzle/RandomSource.h"

#include <gtest/gtest.h>

#include <set>

using namespace corvana;
using corvana::test::FakeDialogs;

namespace {

std::int64_t Pow(int base, int e) {
    std::int64_t p = 1;
    while (e-- > 0)
        p *= base;
    return p;
}

bool Fill(NumberList& list, int n, int count, bool reduced, RandomSource& random, Dialogs& dialogs) {
    return n <= 8 ? FillNumbers(list, n, count, reduced, random, dialogs)
                  : FillNumbersWide(list, n, count, reduced, random, dialogs);
}

} // namespace

TEST(FillNumbers, DrawsHaveExactlyTheirDigitCountForEveryLength) {
    FakeDialogs dialogs;
    for (const bool reduced : {false, true}) {
        for (int n = 2; n <= 10; ++n) {
            SCOPED_TRACE(std::string(reduced ? "reduced " : "normal ") + std::to_string(n));
            for (std::uint64_t seed = 0; seed < 50; ++seed) {
                RandomSource random(seed);
                NumberList list;
                ASSERT_TRUE(Fill(list, n, 16, reduced, random, dialogs));
                ASSERT_EQ(list.size(), 16u);
                for (auto v : list) {
                    EXPECT_EQ(std::to_string(v).size(), static_cast<std::size_t>(n)) << v;
                    if (reduced) {
                        EXPECT_EQ(std::to_string(v).find_first_of("6789"), std::string::npos) << v;
                    } else if (n > 6) {
                        // Duplicate raising may pass the drawn maximum, never the digit count.
                        EXPECT_LE(v, Pow(10, n) - 11) << v;
                    }
                }
            }
        }
    }
    // Short two-digit lists are raised apart.
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        RandomSource random(seed);
        NumberList list;
        ASSERT_TRUE(FillNumbers(list, 2, 8, false, random, dialogs));
        EXPECT_EQ(std::set<std::int64_t>(list.begin(), list.end()).size(), 8u) << "seed " << seed;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The exact draws of one seed, so a changed range, carry or raise shows at once.
TEST(FillNumbers, OneSeedDrawsExactlyTheseNumbers) {
    FakeDialogs dialogs;
    const struct {
        int n;
        bool reduced;
        NumberList expected;
    } cases[] = {
        {2, false, {64, 39, 42, 40, 61, 43}},
        {2, true, {42, 31, 32, 31, 41, 32}},
        {3, false, {704, 428, 466, 431, 668, 464}},
        {3, true, {421, 250, 301, 250, 410, 301}},
        {4, false, {7108, 4321, 4706, 4349, 6747, 4683}},
        {4, true, {4221, 2503, 3021, 2510, 4110, 3014}},
        {5, false, {71142, 43251, 47105, 43528, 67529, 46867}},
        {5, true, {42110, 24552, 30131, 25023, 41000, 30102}},
        {6, false, {711490, 432551, 471096, 435319, 675350, 468713}},
        {6, true, {422143, 250302, 302115, 251021, 411022, 301424}},
        {7, false, {7114964, 4325546, 4710997, 4353230, 6753558, 4687170}},
        {7, true, {4221443, 2503021, 3021152, 2510215, 4110231, 3014243}},
        {8, false, {71149708, 43255495, 47110014, 43532341, 67535644, 46871743}},
        {8, true, {42214435, 25030221, 30211530, 25102154, 41102321, 30142433}},
        {9, false, {711497150, 432554989, 471100180, 435323451, 675356504, 468717469}},
        {9, true, {422144401, 250302212, 302115305, 251021545, 411023222, 301424332}},
        {10, false, {7114971562, 4325549931, 4711001844, 4353234548, 6753565105, 4687174730}},
        {10, true, {4221444021, 2503022130, 3021153100, 2510215501, 4110232224, 3014243322}},
    };
    for (const auto& c : cases) {
        RandomSource random(2024);
        NumberList list;
        ASSERT_TRUE(Fill(list, c.n, 6, c.reduced, random, dialogs));
        EXPECT_EQ(list, c.expected) << c.n << (c.reduced ? " reduced" : "");
    }
}

TEST(FillNumbers, UnsupportedLengthsAreReportedAndAnEmptyCountFailsSilently) {
    FakeDialogs dialogs;
    RandomSource random(1);
    NumberList list{42};
    EXPECT_FALSE(FillNumbers(list, 9, 4, false, random, dialogs));
    EXPECT_FALSE(FillNumbersWide(list, 8, 4, false, random, dialogs));
    EXPECT_FALSE(FillNumbers(list, 1, 4, false, random, dialogs));
    EXPECT_EQ(list, NumberList{42});
    std::vector<FakeDialogs::Message> expected;
    for (const char* n : {"9", "8", "1"})
        expected.push_back({std::string("Values of length ") + n + " digit(s) not supported, only 2-10.",
                            "Corvana", Buttons::Ok, Icon::None});
    EXPECT_EQ(dialogs.messages, expected);

    for (int n : {1, 2, 5, 9, 11}) {
        EXPECT_FALSE(FillNumbers(list, n, 0, false, random, dialogs));
        EXPECT_FALSE(FillNumbersWide(list, n, 0, false, random, dialogs));
    }
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(list, NumberList{42});
    EXPECT_TRUE(FillNumbersWide(list, 9, 4, false, random, dialogs));
    EXPECT_EQ(list.size(), 4u);
}

TEST(RandomSource, ReseedsDifferSeedsRepeatAndScaledStaysBelowItsBound) {
    RandomSource a(99);
    a.Reseed();
    const auto first = a.Scaled(1000000000);
    a.Reseed();
    EXPECT_NE(a.Scaled(1000000000), first);
    RandomSource b(99);
    b.Reseed();
    EXPECT_EQ(b.Scaled(1000000000), first);
    EXPECT_NE(RandomSource::ClockSeed(), RandomSource::ClockSeed());
    for (int i = 0; i < 10000; ++i) {
        const auto v = b.Scaled(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
}

TEST(ToBaseSix, WritesTheValueInBaseSix) {
    EXPECT_EQ(ToBaseSix(0), 0);
    EXPECT_EQ(ToBaseSix(10), 14);
    EXPECT_EQ(ToBaseSix(36), 100);
    EXPECT_EQ(ToBaseSix(Pow(6, 8) - 1), 55555555);
    EXPECT_EQ(ToBaseSixWide(Pow(6, 10) - 1), 5555555555);
    EXPECT_EQ(ToBaseSixWide(Pow(6, 9)), 1000000000);
}

TEST(ListHelpers, JoinSortAndPad) {
    NumberList result{1};
    EXPECT_FALSE(JoinLists({}, {}, result));
    EXPECT_EQ(result, NumberList{1});
    ASSERT_TRUE(JoinLists({}, {9, 8}, result));
    EXPECT_EQ(result, (NumberList{9, 8}));
    ASSERT_TRUE(JoinListsWide({11, 12, 13, 14, 15, 16}, {1, 2, 3, 4}, result));
    EXPECT_EQ(result, (NumberList{11, 12, 13, 14, 15, 16, 1, 2, 3, 4}));

    NumberList list{52, 17, 52};
    CaptionList captions{"old"};
    ASSERT_TRUE(SortToCaptions(list, captions));
    EXPECT_EQ(list, (NumberList{17, 52, 52}));
    EXPECT_EQ(captions, (CaptionList{"17", "52", "52"}));
    NumberList wide{9876543210, 1000000000};
    ASSERT_TRUE(SortToCaptionsWide(wide, captions));
    EXPECT_EQ(captions, (CaptionList{"1000000000", "9876543210"}));
    NumberList empty;
    EXPECT_TRUE(SortToCaptions(empty, captions));
    EXPECT_TRUE(captions.empty());

    CaptionList padded{"12345", "7", "0", "123456"};
    ASSERT_TRUE(PadCaptions(padded, 6));
    EXPECT_EQ(padded, (CaptionList{"012345", "000007", "000000", "123456"}));
    CaptionList longer{"123456789"};
    ASSERT_TRUE(PadCaptions(longer, 10));
    EXPECT_EQ(longer[0], "0123456789");
    EXPECT_FALSE(PadCaptions(captions, 4));
}
