// File-dialog filter and extension text in the "Name|*.ext||" form and its Win32 conversion.
#include "framework/FileFilter.h"

std::wstring MakeDoubleNulFilter(std::wstring_view filter) {
    std::wstring result;
    std::size_t pos = 0;
    while (pos < filter.size()) {
        const std::size_t nameEnd = filter.find(L'|', pos);
        if (nameEnd == pos || nameEnd == std::wstring_view::npos) {
            break;
        }
        const std::size_t patternStart = nameEnd + 1;
        const std::size_t patternEnd = filter.find(L'|', patternStart);
        const std::wstring_view pattern = filter.substr(
            patternStart, patternEnd == std::wstring_view::npos ? std::wstring_view::npos
                                                                : patternEnd - patternStart);
        if (pattern.empty()) {
            break;
        }
        result.append(filter.substr(pos, nameEnd - pos)).push_back(L'\0');
        result.append(pattern).push_back(L'\0');
        if (patternEnd == std::wstring_view::npos) {
            break;
        }
        pos = patternEnd + 1;
    }
    if (!result.empty()) {
        result.push_back(L'\0');
    }
    return result;
}

std::wstring_view ExtensionWithoutDot(std::wstring_view extension) {
    if (!extension.empty() && extension.front() == L'.') {
        extension.remove_prefix(1);
    }
    return extension;
}
