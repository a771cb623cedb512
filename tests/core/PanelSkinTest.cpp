// The panel's frame and separator bars at several scales.
#include <gtest/gtest.h>

#include "ui/PanelSkin.h"

namespace {

bool IsInside(const Rect& rc, int nWidth, int nHeight) {
    return 0 <= rc.left && rc.left < rc.right && rc.right <= nWidth && 0 <= rc.top &&
           rc.top < rc.bottom && rc.bottom <= nHeight;
}

}  // namespace

TEST(PanelSkin, AtNinetySixDpiEveryBarIsAOnePixelLine) {
    const auto bars = PanelSkinBars(130, 300, CDpiScale());
    ASSERT_GT(bars.size(), kPanelSkinBarsBeforeTitle);
    for (const PanelSkinBar& bar : bars) {
        EXPECT_TRUE(IsInside(bar.rc, 130, 300));
        EXPECT_TRUE(bar.rc.right - bar.rc.left == 1 || bar.rc.bottom - bar.rc.top == 1);
    }
    // The bottom separators follow the height.
    EXPECT_EQ(bars[2].rc, (Rect{3, 294, 127, 295}));
    EXPECT_EQ(bars.back().rc, (Rect{3, 290, 126, 291}));
    EXPECT_EQ(PanelTitleRect(CDpiScale()), (Rect{3, 5, 81, 23}));
}

TEST(PanelSkin, EveryScaleKeepsTheBarsInsideAndTwoHundredPercentDoublesThem) {
    const auto base = PanelSkinBars(130, 300, CDpiScale());
    for (const int nDpi : {120, 144, 168, 192}) {
        const CDpiScale scale(nDpi);
        const int nWidth = scale.Scale(130);
        const int nHeight = scale.Scale(300);
        const auto bars = PanelSkinBars(nWidth, nHeight, scale);
        ASSERT_EQ(bars.size(), base.size()) << nDpi;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            EXPECT_TRUE(IsInside(bars[i].rc, nWidth, nHeight)) << nDpi << " bar " << i;
            EXPECT_EQ(bars[i].colour, base[i].colour);
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
