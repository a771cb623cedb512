// The panel's target-list file commands: New, Load, Save and the default file.
#include "framework/UserPrompts.h"
#include "framework/WideText.h"
#include "model/DefaultFile.h"
#include "model/FileErrors.h"
#include "model/SaveFileName.h"
#include "model/TargetListFile.h"
#include "ui/PanelGeometry.h"
#include "ui/SnipDlg.h"

#include <shlobj.h>

#include <ctime>
#include <new>

namespace {

constexpr wchar_t kFileFilter[] = L"Tarvik Files (*.trvk)|*.trvk|All Files (*.*)|*.*||";
constexpr UINT kAutosaveResumeMs = 2000;

std::u16string CurrentDefaultSaveName() {
    const std::time_t now = std::time(nullptr);
    std::tm localTime{};
    localtime_s(&localTime, &now);
    return DefaultSaveName(localTime);
}

}  // namespace

std::optional<std::filesystem::path> CSnipDlg::DefaultFilePath(bool bCreateFolder) const {
    std::filesystem::path folder = m_dataFolderOverride;
    if (folder.empty()) {
        wchar_t szFolder[MAX_PATH] = {};
        if (!::SHGetSpecialFolderPathW(nullptr, szFolder, CSIDL_APPDATA, bCreateFolder)) {
            return std::nullopt;
        }
        folder = szFolder;
    }
    return DefaultFileIn(folder);
}

void CSnipDlg::StopPlayTimers() {
    // A click cut off here would never step again: the play tick waits for it to end, and a
    // pressed button would stay down. It ends as an aborted click does.
    if (m_play.ClickSequence().IsClicking()) {
        EndClick();
    }
    KillTimer(IDT_CLICK_STEP);
    KillTimer(IDT_PLAY_TICK);
}

void CSnipDlg::ShowFileError(const std::u16string& strMessage) {
    Prompts().MessageBox(m_hWnd, ToWide(strMessage), AppTitle(), MB_OK | MB_ICONSTOP);
}

bool CSnipDlg::WriteListTo(const std::filesystem::path& path) {
    try {
        // Written beside the old file and swapped in only when complete: a crash or a full disk
        // leaves the old file as it was.
        SaveTargetListFile(TargetList(), path);
        return true;
    } catch (const CFileException& error) {
        ShowFileError(error.Message());
    } catch (const std::bad_alloc&) {
        ShowFileError(FileErrorText(FileErrorKind::WriteFailed, path));
    }
    return false;
}

void CSnipDlg::NewTargetList() {
    const int nAnswer =
        Prompts().MessageBox(m_hWnd, L"Do you want to save Targets List before clear all data?",
                             L"New Tarvik Target List", MB_YESNO);
    if (nAnswer == IDYES && !SaveTargetListAs()) {
        return;
    }
    ClearAllTargets();
    m_wndTargetList.m_pTargetList = std::make_unique<CTargetObjList>();
    m_wndTargetList.RelayoutTiles();
    UpdatePlayButton();
    SaveDefaultFile();
}

bool CSnipDlg::SaveTargetListAs() {
    StopPlayTimers();
    CFileDialogParams params;
    params.strFilter = kFileFilter;
    params.strDefaultExt = L"trvk";
    params.strFileName = ToWide(CurrentDefaultSaveName());
    params.dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const std::optional<std::wstring> chosen = Prompts().ChooseSaveFile(m_hWnd, params);
    if (!chosen) {
        return false;
    }
    return WriteListTo(ToWide(WithTargetListExtension(ToUtf16(*chosen))));
}

void CSnipDlg::LoadTargetList(std::wstring strPath) {
    if (strPath.empty()) {
        CFileDialogParams params;
        params.strFilter = kFileFilter;
        params.dwFlags = OFN_HIDEREADONLY;
        std::optional<std::wstring> chosen = Prompts().ChooseOpenFile(m_hWnd, params);
        if (!chosen) {
            return;
        }
        strPath = std::move(*chosen);
    }
    if (!TargetList().IsEmpty()) {
        const int nAnswer = Prompts().MessageBox(
            m_hWnd, L"Do you want to save previous Targets List before load new Targets?",
            L"Load Tarvik Target List", MB_YESNO);
        if (nAnswer == IDYES && !SaveTargetListAs()) {
            return;
        }
    }
    StopPlayTimers();
    // The file is read completely before the current list goes: a missing or damaged file is
    // reported and the user keeps the targets they had.
    std::unique_ptr<CTargetObjList> pLoaded;
    try {
        pLoaded = LoadTargetListFile(std::filesystem::path(strPath));
    } catch (const CFileException& error) {
        ShowFileError(error.Message());
        return;
    } catch (const std::bad_alloc&) {
        ShowFileError(FileErrorText(FileErrorKind::OutOfMemory, strPath));
        return;
    }
    ClearAllTargets();
    m_wndTargetList.m_pTargetList = std::move(pLoaded);
    CreateTargetTiles();
    UpdatePlayButton();
}

void CSnipDlg::SaveDefaultFile() {
    StopPlayTimers();
    if (const auto path = DefaultFilePath(true)) {
        std::error_code error;
        std::filesystem::create_directory(path->parent_path(), error);
        // A default file that could not be read at start-up is copied aside before it is
        // replaced; if that is still impossible, it is better replaced than the new list lost.
        if (m_bDefaultFileUnread && KeepUnreadableDefaultFile(*path)) {
            m_bDefaultFileUnread = false;
        }
        WriteListTo(*path);
    }
    SetTimer(IDT_PLAY_TICK, kAutosaveResumeMs);
}

void CSnipDlg::LoadDefaultFile() {
    if (const auto path = DefaultFilePath(true)) {
        StopPlayTimers();
        try {
            std::unique_ptr<CTargetObjList> pLoaded = LoadTargetListFile(*path);
            ClearAllTargets();
            m_wndTargetList.m_pTargetList = std::move(pLoaded);
            CreateTargetTiles();
        } catch (const CFileException& error) {
            // A default file that is not there (the first run) is not worth a word.
            if (!IsMissingFile(error.Kind())) {
                m_bDefaultFileUnread = !KeepUnreadableDefaultFile(*path);
                ShowFileError(error.Message());
            }
        } catch (const std::bad_alloc&) {
            ShowFileError(FileErrorText(FileErrorKind::OutOfMemory, *path));
        }
    }
    UpdatePlayButton();
}

void CSnipDlg::ClearAllTargets() {
    m_wndTargetList.ClearTargets();
}

void CSnipDlg::CreateTargetTiles() {
    m_wndTargetList.CreateTiles();
}
