// The help page: loaded from the executable's resources and written to the data folder.
#include "ui/HelpPage.h"

#include "AboutDlgRes.h"
#include "ui/LinkOpenRules.h"

#include <windows.h>

#include <string_view>
#include <system_error>

namespace {

// The page's bytes as the executable holds them; empty when the resource is missing.
std::string_view HelpPageBytes() {
    const HMODULE hModule = ::GetModuleHandleW(nullptr);
    const HRSRC hInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(IDR_HELP_PAGE), RT_RCDATA);
    if (hInfo == nullptr) {
        return {};
    }
    // Resources of a loaded module are neither freed nor unlocked: they live as long as it.
    const HGLOBAL hData = ::LoadResource(hModule, hInfo);
    const void* pData = hData != nullptr ? ::LockResource(hData) : nullptr;
    if (pData == nullptr) {
        return {};
    }
    return {static_cast<const char*>(pData), ::SizeofResource(hModule, hInfo)};
}

}  // namespace

std::filesystem::path HelpPagePath(const std::filesystem::path& folder) {
    return folder / L"Tarvik Help.htm";
}

std::optional<std::filesystem::path> WriteHelpPage(const std::filesystem::path& folder) {
    const std::string_view page = HelpPageBytes();
    if (page.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::filesystem::path path = HelpPagePath(folder);
    if (!WriteFileIfDifferent(path, page)) {
        return std::nullopt;
    }
    return path;
}
