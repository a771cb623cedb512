// What a hyperlink says when it cannot open its address, and its fallback command line.
#include "ui/LinkOpenRules.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace {

struct CResultText {
    std::intptr_t nResult;
    const wchar_t* pszText;
};

// The results of ShellExecuteW and WinExec at or below 32 that have a name.
constexpr CResultText kResultTexts[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"The operating system denied\naccess to the specified file."},
    {8, L"There was not enough memory to complete the operation."},
    {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, L"A sharing violation occurred. "},
    {27, L"The filename association is\nincomplete or invalid."},
    {28, L"The DDE transaction could not\nbe completed because the request timed out."},
    {29, L"The DDE transaction failed."},
    {30,
     L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
     L"processed."},
    {31, L"There is no application associated\nwith the given filename extension."},
    {32, L"The specified dynamic-link library was not found."},
};

}  // namespace

std::wstring LinkOpenErrorText(std::intptr_t nResult) {
    std::wstring strText = L"Unable to open hyperlink:\n\n";
    for (const CResultText& entry : kResultTexts) {
        if (entry.nResult == nResult) {
            return strText + entry.pszText;
        }
    }
    return strText + L"Unknown Error (" + std::to_wstring(nResult) + L") occurred.";
}

std::wstring FallbackCommandLine(std::wstring_view command, std::wstring_view url) {
    std::size_t nCut = command.find(L"\"%1\"");
    if (nCut == std::wstring_view::npos) {
        nCut = command.find(L"%1");
    }
    std::wstring strLine(command.substr(0, nCut));
    strLine += L' ';
    // Cut at its argument, the command has lost the quotes around it: an address with a blank
    // (a page under a user folder such as "C:\Users\Ann Lee") would reach the browser in pieces.
    const bool bQuote = url.find_first_of(L" \t") != std::wstring_view::npos &&
                        !(url.size() >= 2 && url.front() == L'"' && url.back() == L'"');
    if (bQuote) {
        strLine += L'"';
    }
    strLine += url;
    if (bQuote) {
        strLine += L'"';
    }
    return strLine;
}

bool WriteFileIfDifferent(const std::filesystem::path& path, std::string_view content) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return false;
    }
    if (std::filesystem::is_regular_file(status) &&
        std::filesystem::file_size(path, error) == content.size() && !error) {
        std::ifstream in(path, std::ios::binary);
        const std::string strHeld{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
        if (in.good() || in.eof()) {
            if (strHeld == content) {
                return true;
            }
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
}
