// The process-wide prompts seam and the caption of the framework's messages.
#include "framework/UserPrompts.h"

#include "framework/Win32Prompts.h"

#include <utility>

namespace {

IUserPrompts* g_pInstalled = nullptr;

std::wstring& Title() {
    static std::wstring strTitle;
    return strTitle;
}

}  // namespace

IUserPrompts& Prompts() {
    static CWin32Prompts win32Prompts;
    return g_pInstalled != nullptr ? *g_pInstalled : win32Prompts;
}

IUserPrompts* SetPrompts(IUserPrompts* pPrompts) {
    return std::exchange(g_pInstalled, pPrompts);
}

const std::wstring& AppTitle() {
    return Title();
}

void SetAppTitle(std::wstring strTitle) {
    Title() = std::move(strTitle);
}
