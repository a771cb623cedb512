// The About box, opened from the tray menu and from the Help menu: its link is underlined from
// the start, red under the pointer, opens the help page written in the data folder, then shows
// its visited colour; a page that cannot be written is reported in a box. Help opens the page.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/PageOpenerRegistered.h"
#include "tests/e2e/RealInput.h"
#include "tests/e2e/ScreenShot.h"
#include "tests/e2e/Waiting.h"

#include "TarvikVersion.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

constexpr int kIdAboutLink = 1048;
// Screen pixels as 0x00RRGGBB.
constexpr uint32_t kLinkColour = 0x0000EE;
constexpr uint32_t kVisitedColour = 0x551A8B;
constexpr uint32_t kHoverColour = 0xFF0000;
std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How the link shows in one colour: how many of its pixels have it, and the longest run of them
// in one row (an underline spans the text's width).
struct CLinkLook {
    int nPixels = 0;
    int nLongestRun = 0;
};

CLinkLook LookOf(HWND hLink, uint32_t nColour) {
    const PixelBuffer screen = CaptureScreen();
    const RECT rc = ScreenRectOf(hLink);
    CLinkLook look;
    for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, screen.Height()); ++y) {
        int nRun = 0;
        for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, screen.Width()); ++x) {
            if ((screen.At(x, y) & 0xFFFFFF) == nColour) {
                ++look.nPixels;
                look.nLongestRun = std::max(look.nLongestRun, ++nRun);
            } else {
                nRun = 0;
            }
        }
    }
    return look;
}

// The link shows in `nColour`, underlined: a row of that colour across most of its width.
bool ShowsUnderlinedIn(HWND hLink, uint32_t nColour) {
    return LookOf(hLink, nColour).nLongestRun * 4 >= WidthOf(ScreenRectOf(hLink)) * 3;
}

class AboutBox : public CEndToEndTest {
protected:
    // The page lives in the data folder that every test shares: each scene starts without it.
    void SetUp() override {
        CEndToEndTest::SetUp();
        std::error_code error;
        std::filesystem::remove_all(PagePath(), error);
    }
    std::filesystem::path PagePath() const {
        return DefaultListPath().parent_path() / L"Tarvik Help.htm";
    }
    std::filesystem::path Record() const { return ScratchFolder() / L"opened.htm"; }

    // Right-clicks Tarvik's icon in Wine's tray window and picks "About..." with the keys.
    void OpenAboutFromTray() {
        const HWND hTray = FindWindowW(nullptr, L"Wine System Tray");
        ASSERT_NE(hTray, nullptr) << "Wine shows no tray window";
        // Each icon is a child window, lined up in the order the icons came: Tarvik's, the
        // newest, is the rightmost (icons of earlier, killed processes may still stand before).
        HWND hIcon = nullptr;
        for (const HWND hChild : ChildrenOf(hTray)) {
            if (IsWindowVisible(hChild) &&
                (hIcon == nullptr || ScreenRectOf(hChild).left > ScreenRectOf(hIcon).left)) {
                hIcon = hChild;
            }
        }
        ASSERT_NE(hIcon, nullptr) << "the tray shows no icon";
        const POINT ptIcon = CentreOf(ScreenRectOf(hIcon));
        ASSERT_TRUE(TarvikResponds());
        ASSERT_TRUE(GlidePointer(ptIcon));
        // Under load Wine's tray window has lost a click now and then: one more right-click
        // (at most two) before the scene fails, as a person would click again.
        HWND hMenu = nullptr;
        for (int nClick = 0; nClick < 3 && hMenu == nullptr; ++nClick) {
            PressRightButton();
            ReleaseRightButton();
            WaitUntil([&] { return (hMenu = FindPopupMenu(m_pTarvik->Id())) != nullptr; });
        }
        ASSERT_NE(hMenu, nullptr) << "three right-clicks on the tray icon opened no menu";
        Scene("tray-menu");
        // "About..." is the first item. The pointer, not the keys: the keys go to whichever
        // window has the focus, and after a click on the tray that need not be Tarvik's menu.
        const RECT rcMenu = ScreenRectOf(hMenu);
        ASSERT_TRUE(ClickAt(POINT{(rcMenu.left + rcMenu.right) / 2, rcMenu.top + 12}));
    }
    void OpenFromHelpMenu(WORD nKey) {
        ASSERT_TRUE(TarvikResponds());
        ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(Control(kIdHelp)))));
        ASSERT_TRUE(WaitUntil([&] { return FindPopupMenu(m_pTarvik->Id()) != nullptr; }))
            << "the Help button opened no menu";
        TapKey(nKey);
    }
    // The About box once it shows, modal over the panel; its link in `m_hLink`.
    void WaitForAbout() {
        m_hAbout = WaitForDialog(L"About Tarvik");
        ASSERT_NE(m_hAbout, nullptr) << "no About box";
        EXPECT_EQ(GetWindow(m_hAbout, GW_OWNER), m_hMain);
        EXPECT_FALSE(IsWindowEnabled(m_hMain)) << "the About box is not modal";
        m_hLink = FindDescendant(m_hAbout, kIdAboutLink);
        ASSERT_NE(m_hLink, nullptr);
        EXPECT_EQ(TextOf(m_hLink), L"Tarvik Help");
        // Somewhere in the box away from the link and its button.
        m_ptAway = ClientToScreenPoint(m_hAbout, {8, 8});
    }
    // Moves the pointer off the link and waits until the link has noticed.
    bool LeaveLink(uint32_t nColour) {
        return GlidePointer(m_ptAway) &&
               WaitUntil([&] { return LookOf(m_hLink, kHoverColour).nPixels == 0; }) &&
               WaitUntil([&] { return LookOf(m_hLink, nColour).nPixels > 0; });
    }

    HWND m_hAbout = nullptr;
    HWND m_hLink = nullptr;
    POINT m_ptAway{};
};

TEST_F(AboutBox, FromTheTrayItsLinkHoversOpensTheHelpPageAndTurnsVisited) {
    CPageOpenerRegistered opener(TestExeFolder(), Record());
    ASSERT_TRUE(opener.Registered());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    const std::optional<long> nHandlesBefore = LiveHandleCount(m_hMain);
    ASSERT_TRUE(nHandlesBefore.has_value());
    ASSERT_NO_FATAL_FAILURE(OpenAboutFromTray());
    ASSERT_NO_FATAL_FAILURE(WaitForAbout());
    Scene("about");
    const std::vector<HWND> children = ChildrenOf(m_hAbout);
    EXPECT_TRUE(std::any_of(children.begin(), children.end(), [](HWND hChild) {
        return TextOf(hChild) == L"" TARVIK_ABOUT_VERSION_TEXT;
    })) << "the About box does not name the version";
    EXPECT_TRUE(ShowsUnderlinedIn(m_hLink, kLinkColour)) << "the link is not underlined at first";
    EXPECT_FALSE(std::filesystem::exists(PagePath()))
        << "the page was written before it was asked for";

    ASSERT_TRUE(GlidePointer(CentreOf(ScreenRectOf(m_hLink))));
    EXPECT_TRUE(WaitUntil([&] { return ShowsUnderlinedIn(m_hLink, kHoverColour); }))
        << "the link did not turn red under the pointer";
    Scene("hovered");
    ASSERT_TRUE(LeaveLink(kLinkColour)) << "the link stayed red after the pointer left";
    EXPECT_TRUE(ShowsUnderlinedIn(m_hLink, kLinkColour)) << "the underline went with the pointer";

    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(m_hLink))));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Record()); }))
        << "the link's click opened no page";
    ASSERT_TRUE(LeaveLink(kVisitedColour)) << "the link did not take its visited colour";
    Scene("visited");
    EXPECT_TRUE(ShowsUnderlinedIn(m_hLink, kVisitedColour));
    EXPECT_EQ(LookOf(m_hLink, kLinkColour).nPixels, 0);
    const std::string strPage = FileText(PagePath());
    EXPECT_NE(strPage.find("<title>Tarvik Help</title>"), std::string::npos);
    EXPECT_EQ(FileText(Record()), strPage) << "the opened page is not the one in the data folder";
    EXPECT_EQ(FindDialog(m_pTarvik->Id(), m_hMain, L"Tarvik"), nullptr) << "an error was shown";

    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(m_hAbout, IDOK));
    EXPECT_TRUE(IsWindowEnabled(m_hMain));
    EXPECT_EQ(LiveHandleCount(m_hMain), nHandlesBefore) << "the About box left handles behind";
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

TEST_F(AboutBox, HelpOpensThePageAndTheLinkReportsAPageThatCannotBeWritten) {
    CPageOpenerRegistered opener(TestExeFolder(), Record());
    ASSERT_TRUE(opener.Registered());
    ASSERT_NO_FATAL_FAILURE(StartTarvik());
    // An outdated page is replaced.
    std::filesystem::create_directories(PagePath().parent_path());
    std::ofstream(PagePath()) << "old page";
    ASSERT_NO_FATAL_FAILURE(OpenFromHelpMenu('H'));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(Record()); }))
        << "Help opened no page";
    const std::string strPage = FileText(PagePath());
    EXPECT_NE(strPage.find("<title>Tarvik Help</title>"), std::string::npos);
    EXPECT_EQ(FileText(Record()), strPage);

    // A folder in the page's place: the page cannot be written, and the link says so.
    std::filesystem::remove(PagePath());
    std::filesystem::create_directory(PagePath());
    ASSERT_NO_FATAL_FAILURE(OpenFromHelpMenu('A'));
    ASSERT_NO_FATAL_FAILURE(WaitForAbout());
    ASSERT_TRUE(ClickAt(CentreOf(ScreenRectOf(m_hLink))));
    const HWND hBox = WaitForDialog(L"Tarvik");
    ASSERT_NE(hBox, nullptr) << "a failed open showed no box";
    Scene("error");
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), m_hAbout);
    std::wstring strText = MessageBoxTextOf(hBox);
    EXPECT_EQ(strText, L"Unable to open hyperlink:\n\nThe specified file was not found.");
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(hBox, IDOK));
    EXPECT_TRUE(LeaveLink(kLinkColour)) << "a failed open left the link marked as visited";
    ASSERT_NO_FATAL_FAILURE(ClickDialogButton(m_hAbout, IDOK));
    std::filesystem::remove(PagePath());
    ASSERT_NO_FATAL_FAILURE(CloseTarvik());
}

}  // namespace
