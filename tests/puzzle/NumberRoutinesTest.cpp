#include "FakeDialogs.h"
#include "puzzle/RandomSource.h"
#include "puzzle/modQUAVRoutines.h"

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

bool OnlyDigitsZeroToFive(std::int64_t v) {
    for (; v > 0; v /= 10)
        if (v % 10 > 5)
            return false;
    return true;
}

} // namespace

TEST(FillNumbers, TwoDigitNormalValuesArePairwiseDifferentAndInRange) {
    FakeDialogs dialogs;
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        RandomSource random(seed);
        NumberList list;
        ASSERT_TRUE(FillNumbers(list, 2, 8, false, random, dialogs));
        ASSERT_EQ(list.size(), 8u);
        std::set<std::int64_t> distinct(list.begin(), list.end());
        EXPECT_EQ(distinct.size(), 8u) << "seed " << seed;
        for (auto v : list) {
            EXPECT_GE(v, 10);
            EXPECT_LE(v, 99);
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(FillNumbers, NormalDrawsStayInsideTheirRangeForEveryLength) {
    FakeDialogs dialogs;
    for (int n = 2; n <= 10; ++n) {
        for (std::uint64_t seed = 0; seed < 50; ++seed) {
            RandomSource random(seed);
            NumberList list;
            const bool ok = n <= 8 ? FillNumbers(list, n, 20, false, random, dialogs)
                                   : FillNumbersWide(list, n, 20, false, random, dialogs);
            ASSERT_TRUE(ok);
            for (auto v : list) {
                EXPECT_GE(v, Pow(10, n - 1)) << n;
                // Duplicate raising may pass the drawn maximum, never the digit count.
                EXPECT_LE(v, n <= 6 ? Pow(10, n) - 1 : Pow(10, n) - 11) << n;
            }
        }
    }
}

TEST(FillNumbers, ReducedValuesHaveExactlyNDigitsFromZeroToFive) {
    FakeDialogs dialogs;
    for (int n = 2; n <= 10; ++n) {
        for (std::uint64_t seed = 0; seed < 100; ++seed) {
            RandomSource random(seed);
            NumberList list;
            const bool ok = n <= 8 ? FillNumbers(list, n, 16, true, random, dialogs)
                                   : FillNumbersWide(list, n, 16, true, random, dialogs);
            ASSERT_TRUE(ok);
            for (auto v : list) {
                EXPECT_EQ(std::to_string(v).size(), static_cast<std::size_t>(n)) << v;
                EXPECT_TRUE(OnlyDigitsZeroToFive(v)) << v;
            }
        }
    }
}

TEST(FillNumbers, UnsupportedLengthsAreReportedAndLeaveTheTarget) {
    FakeDialogs dialogs;
    RandomSource random(1);
    NumberList list{42};
    EXPECT_FALSE(FillNumbers(list, 9, 4, false, random, dialogs));
    EXPECT_FALSE(FillNumbersWide(list, 8, 4, false, random, dialogs));
    EXPECT_FALSE(FillNumbers(list, 1, 4, false, random, dialogs));
    EXPECT_EQ(list, NumberList{42});
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].text, "Values of length 9 digit(s) not supported, only 2-10.");
    EXPECT_EQ(dialogs.messages[0].title, "Corvana");
    EXPECT_EQ(dialogs.messages[0].buttons, Buttons::Ok);
    EXPECT_EQ(dialogs.messages[1].text, "Values of length 8 digit(s) not supported, only 2-10.");
    EXPECT_EQ(dialogs.messages[2].text, "Values of length 1 digit(s) not supported, only 2-10.");

    EXPECT_TRUE(FillNumbersWide(list, 9, 4, false, random, dialogs));
    EXPECT_EQ(list.size(), 4u);
}

TEST(FillNumbers, CountZeroFailsSilentlyWhateverTheLength) {
    FakeDialogs dialogs;
    RandomSource random(1);
    NumberList list{7};
    for (int n : {1, 2, 5, 9, 11}) {
        EXPECT_FALSE(FillNumbers(list, n, 0, false, random, dialogs));
        EXPECT_FALSE(FillNumbersWide(list, n, 0, false, random, dialogs));
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(list, NumberList{7});
}

TEST(RandomSource, EveryReseedStartsADifferentSequenceAndSeedsRepeat) {
    RandomSource a(99);
    a.Reseed();
    const auto first = a.Scaled(1000000000);
    a.Reseed();
    const auto second = a.Scaled(1000000000);
    EXPECT_NE(first, second);

    RandomSource b(99);
    b.Reseed();
    EXPECT_EQ(b.Scaled(1000000000), first);
    EXPECT_NE(RandomSource::ClockSeed(), RandomSource::ClockSeed());
}

TEST(RandomSource, ScaledNeverReachesItsBound) {
    RandomSource r(3);
    r.Reseed();
    for (int i = 0; i < 10000; ++i) {
        const auto v = r.Scaled(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
}

TEST(ToBaseSix, WritesTheValueInBaseSix) {
    EXPECT_EQ(ToBaseSix(0), 0);
    EXPECT_EQ(ToBaseSix(10), 14);
    EXPECT_EQ(ToBaseSix(35), 55);
    EXPECT_EQ(ToBaseSix(36), 100);
    EXPECT_EQ(ToBaseSix(1295), 5555);
    EXPECT_EQ(ToBaseSix(Pow(6, 8) - 1), 55555555);
    EXPECT_EQ(ToBaseSixWide(Pow(6, 10) - 1), 5555555555);
    EXPECT_EQ(ToBaseSixWide(Pow(6, 9)), 1000000000);
}

TEST(JoinLists, PutsTheFirstListBeforeTheSecond) {
    NumberList result{1};
    EXPECT_FALSE(JoinLists({}, {}, result));
    EXPECT_EQ(result, NumberList{1});
    ASSERT_TRUE(JoinLists({1, 2, 3, 4, 5, 6}, {}, result));
    EXPECT_EQ(result.size(), 6u);
    ASSERT_TRUE(JoinLists({}, {9, 8}, result));
    EXPECT_EQ(result, (NumberList{9, 8}));
    ASSERT_TRUE(JoinListsWide({11, 12, 13, 14, 15, 16}, {1, 2, 3, 4}, result));
    EXPECT_EQ(result, (NumberList{11, 12, 13, 14, 15, 16, 1, 2, 3, 4}));
}

TEST(SortToCaptions, SortsAscendingAndKeepsEqualValues) {
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
}

TEST(PadCaptions, PadsWithLeadingZerosToTheDigitCount) {
    CaptionList captions{"12345", "7", "0", "123456"};
    ASSERT_TRUE(PadCaptions(captions, 6));
    EXPECT_EQ(captions, (CaptionList{"012345", "000007", "000000", "123456"}));
    CaptionList wide{"123456789"};
    ASSERT_TRUE(PadCaptions(wide, 10));
    EXPECT_EQ(wide[0], "0123456789");
    CaptionList empty;
    EXPECT_FALSE(PadCaptions(empty, 4));
}
