// CHyperLink in-process: taking over a static, fitting to its text, the underline modes, its
// cursor and tooltip, and the box that names the reason of a failed open.
#include "app/ComApartment.h"
#include "tests/e2e/PageOpenerRegistered.h"
#include "tests/e2e/Waiting.h"
#include "tests/win/FrameworkTestUtil.h"
#include "ui/HyperLink.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

namespace {

constexpr int kLinkId = 1048;

bool FontUnderlined(HWND hWnd) {
    LOGFONTW logFont{};
    const auto hFont = reinterpret_cast<HFONT>(SendMessageW(hWnd, WM_GETFONT, 0, 0));
    return hFont != nullptr && GetObjectW(hFont, sizeof(logFont), &logFont) != 0 &&
           logFont.lfUnderline != 0;
}

// The text of the link's tooltip (tool 1), asked of every tooltip window of the thread.
std::wstring ToolTipText(HWND hLink) {
    std::pair<HWND, std::wstring> state{hLink, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pState = reinterpret_cast<std::pair<HWND, std::wstring>*>(lParam);
            wchar_t szClass[64] = {};
            GetClassNameW(hWnd, szClass, 64);
            if (std::wstring(szClass) != TOOLTIPS_CLASSW) {
                return TRUE;
            }
            wchar_t szText[512] = {};
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = pState->first;
            tool.uId = 1;
            tool.lpszText = szText;
            SendMessageW(hWnd, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
            pState->second = szText;
            return pState->second.empty();
        },
        reinterpret_cast<LPARAM>(&state));
    return state.second;
}

TEST(HyperLink, ComIsApartmentThreadedOnTheOpeningThreadWhileItsOwnerLives) {
    // On a thread of its own: the test runner's thread may have COM already.
    std::thread([] {
        {
            const CComApartment com;
            EXPECT_TRUE(com.IsInitialised());
            // Another model is refused: the thread is apartment-threaded.
            EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
            EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE),
                      S_FALSE);
            CoUninitialize();
        }
        // Given back with its owner: the thread may choose again.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    }).join();
}

TEST(HyperLink, FitsItsTextUnderlinesByModeAndNamesTheReasonOfAFailedOpen) {
    InitFrameworkTestControls();
    const HWND hParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr,
                                         nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hParent, nullptr);
    // Right-aligned: the fitted control keeps its right edge (10 + 300).
    const HWND hStatic = CreateWindowExW(
        0, L"STATIC", L"Tarvik Help", WS_CHILD | WS_VISIBLE | SS_RIGHT, 10, 10, 300, 30, hParent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hStatic, nullptr);
    {
        CHyperLink link;
        ASSERT_TRUE(link.SubclassDlgItem(kLinkId, hParent));
        EXPECT_EQ(link.GetURL(), L"Tarvik Help") << "the text was not taken as the address";
        EXPECT_NE(GetWindowLongW(hStatic, GWL_STYLE) & SS_NOTIFY, 0);
        EXPECT_EQ(ToolTipText(hStatic), L"Tarvik Help");

        SIZE text{};
        {
            const HDC hDC = GetDC(hStatic);
            SelectObject(hDC, reinterpret_cast<HFONT>(SendMessageW(hStatic, WM_GETFONT, 0, 0)));
            GetTextExtentPoint32W(hDC, L"Tarvik Help", 11, &text);
            ReleaseDC(hStatic, hDC);
        }
        RECT rc{};
        GetWindowRect(hStatic, &rc);
        MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.right - rc.left, text.cx);
        EXPECT_EQ(rc.bottom - rc.top, text.cy);
        EXPECT_EQ(rc.right, 310);
        EXPECT_EQ(rc.top, 10);

        // Mode -1: plain until the pointer comes; 1: always; 0: never.
        EXPECT_FALSE(FontUnderlined(hStatic));
        SendMessageW(hStatic, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(FontUnderlined(hStatic));
        link.SetUnderline(0);
        EXPECT_FALSE(FontUnderlined(hStatic));
        link.SetUnderline(CHyperLink::kUnderlineAlways);
        EXPECT_TRUE(FontUnderlined(hStatic));

        // The link's own cursor, whichever of the two could be loaded.
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(SendMessageW(hStatic, WM_SETCURSOR, reinterpret_cast<WPARAM>(hStatic),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));

        const std::wstring strMissing = L"C:\\tarvik-no-such-folder\\page.tarvikprobe";
        link.SetURL(strMissing);
        EXPECT_EQ(ToolTipText(hStatic), strMissing);
        CScriptedPrompts prompts;
        const CPromptsOverride promptsOverride(prompts);
        link.OnReflectedClicked();
        bool bPrepared = false;
        link.SetOpenPreparation([&] {
            bPrepared = true;
            return false;
        });
        link.SetURL(L"https://example.invalid/");
        link.OnReflectedClicked();
        EXPECT_TRUE(bPrepared);
        EXPECT_FALSE(link.IsVisited());
        ASSERT_EQ(prompts.m_calls.size(), 2u);
        for (const auto& call : prompts.m_calls) {
            EXPECT_EQ(call.strText,
                      L"Unable to open hyperlink:\n\nThe specified file was not found.");
            EXPECT_EQ(call.uType & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
            EXPECT_EQ(call.hOwner, hParent);
        }
    }
    DestroyWindow(hParent);
}

TEST(HyperLink, FallsBackToTheRegisteredCommandWithTheAddressInOnePiece) {
    wchar_t szExe[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(nullptr, szExe, MAX_PATH), 0u);
    const auto folder = std::filesystem::temp_directory_path() / L"tarvik link fallback";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto record = folder / L"record.bin";
    // The word after the page's argument makes the stand-in refuse a start by the shell itself,
    // which keeps the whole command; the fallback cuts the command at the argument.
    CPageOpenerRegistered opener(std::filesystem::path(szExe).parent_path().wstring(), record,
                                 L" --from-the-shell");
    ASSERT_TRUE(opener.Registered());

    // A page that does not exist: the shell gives up, the registry's command is run.
    const std::wstring strPage = (folder / L"no such page.htm").wstring();
    EXPECT_GT(OpenLinkTarget(strPage), 32);
    const std::size_t cbPage = strPage.size() * sizeof(wchar_t);
    ASSERT_TRUE(WaitUntil([&] {
        std::error_code error;
        return std::filesystem::file_size(record, error) == cbPage;
    })) << "the fallback command did not get the page's path";
    std::ifstream in(record, std::ios::binary);
    const std::string strBytes{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    in.close();
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(strBytes.data()), strPage.size()),
              strPage);
    std::filesystem::remove_all(folder);
}

}  // namespace
