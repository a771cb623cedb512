// CWin32Prompts: MessageBoxW and the common file dialogs.
#include "framework/Win32Prompts.h"

#include "framework/FileFilter.h"

#include <vector>

namespace {

// Room for long paths; the dialog fails with FNERR_BUFFERTOOSMALL beyond it.
constexpr size_t kPathBufferChars = 32768;

std::optional<std::wstring> RunFileDialog(HWND hOwner, const CFileDialogParams& params,
                                          bool bSave) {
    const std::wstring strFilter = MakeDoubleNulFilter(params.strFilter);
    const std::wstring strDefaultExt(ExtensionWithoutDot(params.strDefaultExt));
    std::vector<wchar_t> path(kPathBufferChars, L'\0');
    params.strFileName.copy(path.data(), path.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = strFilter.empty() ? nullptr : strFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrDefExt = strDefaultExt.empty() ? nullptr : strDefaultExt.c_str();
    ofn.Flags = params.dwFlags | OFN_EXPLORER;
    const BOOL bChosen = bSave ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (!bChosen) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}

}  // namespace

int CWin32Prompts::MessageBox(HWND hOwner, const std::wstring& strText,
                              const std::wstring& strCaption, UINT uType) {
    return ::MessageBoxW(hOwner, strText.c_str(), strCaption.empty() ? nullptr : strCaption.c_str(),
                         uType);
}

std::optional<std::wstring> CWin32Prompts::ChooseOpenFile(HWND hOwner,
                                                          const CFileDialogParams& params) {
    return RunFileDialog(hOwner, params, false);
}

std::optional<std::wstring> CWin32Prompts::ChooseSaveFile(HWND hOwner,
                                                          const CFileDialogParams& params) {
    return RunFileDialog(hOwner, params, true);
}
