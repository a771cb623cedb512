// IUserPrompts: the one seam for message boxes and file dialogs, and the process-wide Prompts().
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

struct CFileDialogParams {
    // "Name (*.ext)|*.ext|All Files (*.*)|*.*||" (see MakeDoubleNulFilter).
    std::wstring strFilter;
    // Appended when the user types a name without one; with or without the dot.
    std::wstring strDefaultExt;
    // The name (or full path) the dialog starts with.
    std::wstring strFileName;
    // OFN_ flags; the explorer style is always added.
    DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
};

// Everything that would wait for a person goes through here, so that tests and the end-to-end
// harness can answer instead.
class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // As MessageBoxW: returns the button chosen (IDOK, IDYES, ...), 0 on failure.
    virtual int MessageBox(HWND hOwner, const std::wstring& strText, const std::wstring& strCaption,
                           UINT uType) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::wstring> ChooseOpenFile(HWND hOwner,
                                                       const CFileDialogParams& params) = 0;
    virtual std::optional<std::wstring> ChooseSaveFile(HWND hOwner,
                                                       const CFileDialogParams& params) = 0;
};

// The prompts in force: an installed replacement, else the Win32 dialogs (CWin32Prompts).
IUserPrompts& Prompts();
// Installs `pPrompts` for the whole process (nullptr: back to the Win32 dialogs) and returns the
// one it replaces. The caller keeps `pPrompts` alive while it is installed.
IUserPrompts* SetPrompts(IUserPrompts* pPrompts);

// Installs a replacement for one scope and puts the previous one back.
class CPromptsOverride {
public:
    explicit CPromptsOverride(IUserPrompts& prompts) : m_pPrevious(SetPrompts(&prompts)) {}
    ~CPromptsOverride() { SetPrompts(m_pPrevious); }
    CPromptsOverride(const CPromptsOverride&) = delete;
    CPromptsOverride& operator=(const CPromptsOverride&) = delete;

private:
    IUserPrompts* m_pPrevious;
};

// The caption of the framework's own messages (a refused dialog field); the application sets
// its title at start-up.
const std::wstring& AppTitle();
void SetAppTitle(std::wstring strTitle);
