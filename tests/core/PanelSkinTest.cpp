// The panel's frame and separator bars at several scales (at 96 DPI the end-to-end reference
// screenshot checks every pixel).
#include <gtest/gtest.h>

#include "ui/PanelSkin.h"

namespace {

bool IsInside(const Rect& rc, int nWidth, int nHeight) {
    return 0 <= rc.left && rc.left < rc.right && rc.right <= nWidth && 0 <= rc.top &&
           rc.top < rc.bottom && rc.bottom <= nHeight;
}

}  // namespace

TEST(PanelSkin, EveryScaleKeepsTheBarsInsideAndTwoHundredPercentDoublesThem) {
    const auto base = PanelSkinBars(130, 300, CDpiScale());
    for (const int nDpi : {96, 120, 144, 168, 192}) {
        const CDpiScale scale(nDpi);
        const int nWidth = scale.Scale(130);
        const int nHeight = scale.Scale(300);
        const auto bars = PanelSkinBars(nWidth, nHeight, scale);
        ASSERT_EQ(bars.size(), base.size()) << nDpi;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            EXPECT_TRUE(IsInside(bars[i].rc, nWidth, nHeight)) << nDpi << " bar " << i;
            EXPECT_EQ(bars[i].colour, base[i].colour);
            if (nDpi == 96) {
                EXPECT_TRUE(bars[i].rc.right - bars[i].rc.left == 1 ||
                            bars[i].rc.bottom - bars[i].rc.top == 1)
                    << "bar " << i;
            }
            if (nDpi == 192) {
                EXPECT_EQ(bars[i].rc, scale.Scale(base[i].rc)) << "bar " << i;
            }
        }
    }
    // Measured from the bottom: a height that is not a scaled one keeps the bars at the edge.
    const auto odd = PanelSkinBars(260, 601, CDpiScale(192));
    EXPECT_EQ(odd[2].rc, (Rect{6, 589, 254, 591}));
    EXPECT_EQ(odd[10].rc, (Rect{2, 599, 260, 601}));
    EXPECT_EQ(PanelTitleRect(CDpiScale(144)), (Rect{5, 8, 122, 35}));
}
