// The fixture of the end-to-end tests: a fresh state before each test, the Tarvik it starts,
// screenshots of its scenes, and the steps a person takes (menus, boxes, file dialogs).
#pragma once

#include "tests/e2e/TarvikProcess.h"
#include "tests/e2e/TarvikState.h"
#include "tests/e2e/TarvikWindows.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CEndToEndTest : public ::testing::Test {
protected:
    // No stored settings, no default list, an empty scratch folder, the pointer out of the way.
    void SetUp() override;
    // Ends the Tarvik of the test if it still runs, with whatever dialog it has open.
    void TearDown() override;

    // Starts Tarvik and waits for its main window (m_hMain); m_dStartupMs is the time from the
    // process start to the window being visible. Use with ASSERT_NO_FATAL_FAILURE.
    void StartTarvik();
    // Sends WM_CLOSE and waits until the process has ended. Use with ASSERT_NO_FATAL_FAILURE.
    void CloseTarvik();
    // True once Tarvik's window thread handles messages again (a sent WM_NULL came back): a
    // check that Tarvik has not hung before the next step. The input functions wait on their
    // own until Tarvik has taken each record (tests/e2e/InputTaken.h).
    bool TarvikResponds() const;
    // Lets Tarvik finish its pending painting, then saves the screen as
    // <build folder>/screenshots/e2e/<Suite.Test>-<scene>.png; a scene name used again in the
    // same test gets a number (-2, -3, ...).
    void Scene(const std::string& strScene);
    // The screen as it is this moment, without waiting for Tarvik to paint: for a scene that
    // lasts only a moment, like a glide.
    void SceneNow(const std::string& strScene);

    HWND Control(int nId) const { return GetDlgItem(m_hMain, nId); }
    HWND ListView() const { return Control(kIdTargetList); }
    std::vector<RECT> Tiles() const { return TileRects(ListView()); }
    bool WaitForTileCount(size_t nCount) const;
    // A client point of the main window on the screen.
    POINT OnPanel(int x, int y) const { return ClientToScreenPoint(m_hMain, {x, y}); }

    // Drags the panel by its top strip by (dx, dy) and waits until it has followed. The
    // panel's move also shows that Tarvik has handled all input sent before it.
    // Use with ASSERT_NO_FATAL_FAILURE.
    void DragPanelBy(int dx, int dy);

    // Clicks the File button and picks an item with its mnemonic key (N, L or S), taking a
    // screenshot of the open menu. Use with ASSERT_NO_FATAL_FAILURE.
    void ChooseFileMenuItem(WORD nKey);
    // File > New answered No, then File > Load of `file` through the open dialog, until
    // `nTiles` tiles show. Use with ASSERT_NO_FATAL_FAILURE.
    void NewThenLoad(const std::filesystem::path& file, size_t nTiles);
    // A dialog of Tarvik other than its main window, with this caption; null after the wait.
    HWND WaitForDialog(const wchar_t* pszCaption) const;
    HWND WaitForFileDialog() const;
    // Tarvik's capture overlay: a visible top-level window of it, not the panel, that covers
    // exactly `rcDesktop`; null if none.
    HWND FindOverlay(const RECT& rcDesktop) const;
    // The overlay of a one-monitor display: it covers the screen.
    HWND FindOverlay() const;
    // Clicks the button `nId` of a dialog with the mouse and waits until the dialog is gone.
    // Use with ASSERT_NO_FATAL_FAILURE.
    void ClickDialogButton(HWND hDialog, int nId);
    // Types `strName` into the file dialog's name field, replacing what it holds, and presses
    // Enter. Use with ASSERT_NO_FATAL_FAILURE.
    void EnterFileName(HWND hDialog, const std::wstring& strName);
    // Answers the overwrite question of a save dialog, if one comes, with Yes.
    void ConfirmOverwrite(HWND hFileDialog);

    std::unique_ptr<CTarvikProcess> m_pTarvik;
    HWND m_hMain = nullptr;
    double m_dStartupMs = 0;

private:
    std::map<std::string, int> m_sceneCounts;
};
