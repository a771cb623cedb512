// CWin32Prompts: the prompts as the user sees them: MessageBoxW and the common file dialogs.
#pragma once

#include "framework/UserPrompts.h"

class CWin32Prompts : public IUserPrompts {
public:
    int MessageBox(HWND hOwner, const std::wstring& strText, const std::wstring& strCaption,
                   UINT uType) override;
    std::optional<std::wstring> ChooseOpenFile(HWND hOwner,
                                               const CFileDialogParams& params) override;
    std::optional<std::wstring> ChooseSaveFile(HWND hOwner,
                                               const CFileDialogParams& params) override;
};
