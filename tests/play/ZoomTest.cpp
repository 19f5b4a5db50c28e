// Zoom arithmetic: the steps, and twip positions turned into pixels in proportion, exactly as
// today at 100 %.

#include "play/Zoom.h"
#include "play/FormConfig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace corvana;

TEST(Zoom, StepsRunFrom100To300AndStopAtTheEnds) {
    std::vector<int> up{100};
    while (up.size() < 9)
        up.push_back(ZoomIn(up.back()));
    EXPECT_EQ(up, (std::vector<int>{100, 125, 150, 175, 200, 250, 300, 300, 300}));
    EXPECT_EQ(ZoomOut(300), 250);
    EXPECT_EQ(ZoomOut(125), 100);
    EXPECT_EQ(ZoomOut(100), 100);
    // A remembered level that is no step (a damaged settings file) is 100 %.
    for (const auto& [kept, used] : {std::pair{175, 175}, {130, 100}, {0, 100}, {-200, 100}, {900, 100}})
        EXPECT_EQ(ValidZoom(kept), used) << kept;
}

TEST(Zoom, TwipPositionsKeepTheirProportionsAndAt100PercentAreAsBefore) {
    const struct {
        int twips, percent, pixels;
    } table[] = {{120, 100, 8},  {7, 100, 0},      {8, 100, 1},        {-8, 100, -1}, {240, 125, 20},
                 {252, 150, 25}, {4080, 200, 544}, {11055, 300, 2211}, {22, 300, 4},  {23, 300, 5}};
    for (const auto& row : table)
        EXPECT_EQ(ZoomedPixels(row.twips, row.percent), row.pixels) << row.twips << " at " << row.percent;

    for (int t = -3000; t <= 12000; ++t)
        ASSERT_EQ(ZoomedPixels(t, 100), TwipsToPixels(t)) << t;
    for (const int z : kZoomSteps) {
        for (int t = 0; t <= 12000; ++t) {
            ASSERT_LE(std::abs(ZoomedPixels(t, z) - t * z / 1500.0), 0.5) << t << " at " << z;
            ASSERT_LE(ZoomedPixels(t, z), ZoomedPixels(t + 1, z)) << t << " at " << z;
        }
        // Neighbouring cells never touch, on every form.
        for (const FormConfig* form : {&frmSmallSize(), &frmNormal(), &frmLarge()}) {
            const TwipRect a = form->CellRect(0);
            const TwipRect b = form->CellRect(1);
            EXPECT_LT(ZoomedPixels(a.left + a.width, z), ZoomedPixels(b.left, z)) << z;
        }
    }
}
