// Where the panel appears at start-up, what it looks like, and the place it stores at close.
#include "tests/e2e/EndToEndTest.h"

#include <ostream>

namespace {

class PanelPlacement : public CEndToEndTest {};

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

TEST_F(PanelPlacement, FirstStartShowsTheDefaultPanelAndCloseStoresItsPlace) {
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    Scene("started");

    const RECT rcPanel = ScreenRectOf(m_hMain);
    EXPECT_EQ(RectText(rcPanel), RectText({ScreenWidth() / 2 - 65, ScreenHeight() / 2 - 250,
                                           ScreenWidth() / 2 + 65, ScreenHeight() / 2 + 250}));
    // A borderless, always-on-top popup: the client area is the whole window.
    const LONG nStyle = GetWindowLongW(m_hMain, GWL_STYLE);
    const LONG nExStyle = GetWindowLongW(m_hMain, GWL_EXSTYLE);
    EXPECT_NE(nStyle & WS_POPUP, 0);
    EXPECT_EQ(nStyle & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_NE(nExStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(ClientSizeOf(m_hMain).cx, 130);
    EXPECT_EQ(ClientSizeOf(m_hMain).cy, 500);

    struct CPlace {
        int nId;
        RECT rc;
    };
    const CPlace places[] = {
        {kIdSelectTarget, {5, 30, 65, 68}}, {kIdPlay, {65, 30, 125, 68}},
        {kIdFile, {5, 70, 39, 94}},         {kIdEdit, {48, 70, 82, 94}},
        {kIdHelp, {91, 70, 125, 94}},       {kIdToFlyWindow, {86, 3, 106, 23}},
        {kIdHidePanel, {105, 3, 125, 23}},  {kIdTargetList, {3, 103, 126, 500 - 10}},
    };
    for (const CPlace& place : places) {
        const HWND hControl = Control(place.nId);
        ASSERT_NE(hControl, nullptr) << "no control " << place.nId;
        EXPECT_TRUE(IsWindowVisible(hControl)) << "control " << place.nId;
        EXPECT_EQ(RectText(RectInParent(hControl)), RectText(place.rc)) << "control " << place.nId;
    }
    // Nothing to play in an empty list.
    EXPECT_FALSE(IsWindowEnabled(Control(kIdPlay)));

    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainLeft), ScreenWidth() / 2 - 65);
    EXPECT_EQ(ReadSetting(kMainTop), ScreenHeight() / 2 - 250);
    EXPECT_EQ(ReadSetting(kMainHeight), 500);
}

struct CStoredPlace {
    const char* pszName;
    int32_t nLeft;
    int32_t nTop;
    int32_t nHeight;
    // Expected place and height on a 1280 x 1024 screen.
    int nExpectedLeft;
    int nExpectedTop;
    int nExpectedHeight;
};

void PrintTo(const CStoredPlace& place, std::ostream* pOut) {
    *pOut << place.pszName;
}

class StoredPanelPlacement : public CEndToEndTest,
                             public ::testing::WithParamInterface<CStoredPlace> {};

TEST_P(StoredPanelPlacement, StoredPlaceIsKeptOnScreenAndStoredBackAtClose) {
    if (ScreenWidth() != 1280 || ScreenHeight() != 1024) {
        GTEST_SKIP() << "the expected places are for a 1280 x 1024 screen";
    }
    const CStoredPlace& place = GetParam();
    WriteSetting(kMainLeft, place.nLeft);
    WriteSetting(kMainTop, place.nTop);
    WriteSetting(kMainHeight, place.nHeight);

    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    Scene("started");
    const RECT rcExpected{place.nExpectedLeft, place.nExpectedTop, place.nExpectedLeft + 130,
                          place.nExpectedTop + place.nExpectedHeight};
    EXPECT_EQ(RectText(ScreenRectOf(m_hMain)), RectText(rcExpected));
    // The list view follows the height.
    EXPECT_EQ(RectText(RectInParent(ListView())),
              RectText({3, 103, 126, place.nExpectedHeight - 10}));

    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
    EXPECT_EQ(ReadSetting(kMainLeft), place.nExpectedLeft);
    EXPECT_EQ(ReadSetting(kMainTop), place.nExpectedTop);
    EXPECT_EQ(ReadSetting(kMainHeight), place.nExpectedHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Places, StoredPanelPlacement,
    ::testing::Values(CStoredPlace{"Inside", 100, 120, 640, 100, 120, 640},
                      CStoredPlace{"NegativeBecomesZero", -40, -30, 300, 0, 0, 300},
                      CStoredPlace{"ShortBecomesTwoHundred", 300, 200, 150, 300, 200, 200},
                      CStoredPlace{"FarBeyondRightAndBottom", 5000, 5000, 600, 1150, 924, 600},
                      CStoredPlace{"PartlyBeyondRightAndBottom", 1200, 950, 250, 1150, 924, 250},
                      CStoredPlace{"ExactlyAtTheEdges", 1150, 924, 200, 1150, 924, 200}),
    [](const ::testing::TestParamInfo<CStoredPlace>& info) { return info.param.pszName; });

}  // namespace
