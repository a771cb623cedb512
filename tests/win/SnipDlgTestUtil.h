// Helpers of the main-panel tests: a panel opened in-process on a scratch data folder and a
// scratch settings key, with scripted prompts.
#pragma once

#include "FrameworkTestUtil.h"
#include "app/RegistryKey.h"
#include "model/TargetListFile.h"
#include "tests/core/ModelTestUtil.h"
#include "ui/SnipDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

class SnipDlgTest : public ::testing::Test {
protected:
    static constexpr wchar_t kScratchKey[] = L"Software\\TarvikTests\\SnipDlg";

    void SetUp() override {
        SetAppTitle(L"Tarvik");
        wchar_t szTemp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, szTemp);
        const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::path(szTemp) / L"tarvik-snipdlg" /
                   (std::wstring(pInfo->name(), pInfo->name() + std::strlen(pInfo->name())));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder / L"Tarvik");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }

    void TearDown() override {
        ClosePanel();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    }

    CRegistryKey ScratchKey() const { return CRegistryKey(HKEY_CURRENT_USER, kScratchKey); }
    std::filesystem::path DefaultFile() const { return m_folder / L"Tarvik" / L"Default.trvk"; }
    std::filesystem::path Folder() const { return m_folder; }

    // A list of `nTargets` small targets named "Target <k>", orders 0 ... n - 1.
    static std::unique_ptr<CTargetObjList> MakeList(int nTargets, uint32_t seed = 1) {
        auto pList = std::make_unique<CTargetObjList>();
        for (int k = 0; k < nTargets; ++k) {
            const std::string name = "Target " + std::to_string(k);
            pList
                ->AddTail(MakeTarget(std::u16string(name.begin(), name.end()), 8, 6,
                                     seed + static_cast<uint32_t>(k) * 7))
                .m_nOrder = k;
        }
        return pList;
    }
    void WriteList(int nTargets, const std::filesystem::path& path, uint32_t seed = 1) {
        SaveTargetListFile(*MakeList(nTargets, seed), path);
    }

    // Opens the panel modelessly, as the application would run it.
    CSnipDlg& OpenPanel() {
        m_pPanel = std::make_unique<CSnipDlg>();
        m_pPanel->SetDataFolder(m_folder);
        m_pPanel->SetSettingsKey(ScratchKey());
        EXPECT_TRUE(m_pPanel->Create(nullptr));
        PumpPendingMessages();
        return *m_pPanel;
    }
    void ClosePanel() {
        if (m_pPanel && m_pPanel->GetSafeHwnd() != nullptr) {
            m_pPanel->EndDialog(IDCANCEL);
        }
        m_pPanel.reset();
    }
    // WM_CLOSE as "Exit" sends it: the close sequence, then the dialog ends.
    void ClosePanelNormally() {
        m_pPanel->SendMessage(WM_CLOSE);
        PumpPendingMessages();
    }

    // Tile rectangles in the list view's client coordinates, in slot order.
    std::vector<RECT> TileRects() {
        std::vector<std::pair<int, RECT>> tiles;
        for (const auto& pTarget : m_pPanel->TargetList()) {
            const CTargetMiniView* pTile = m_pPanel->ListView().TileOf(*pTarget);
            if (pTile == nullptr) {
                continue;
            }
            RECT rc = pTile->GetWindowRect();
            ::MapWindowPoints(nullptr, m_pPanel->ListView().GetSafeHwnd(),
                              reinterpret_cast<POINT*>(&rc), 2);
            tiles.emplace_back(pTarget->m_nOrder, rc);
        }
        std::sort(tiles.begin(), tiles.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<RECT> rects;
        for (const auto& tile : tiles) {
            rects.push_back(tile.second);
        }
        return rects;
    }

    CScriptedPrompts m_prompts;
    CPromptsOverride m_promptsOverride{m_prompts};
    std::unique_ptr<CSnipDlg> m_pPanel;

private:
    std::filesystem::path m_folder;
};
