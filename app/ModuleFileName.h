// The running executable's full path, however long it is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Empty when the system cannot say.
inline std::wstring ModuleFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD nLength =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (nLength == 0) {
            return {};
        }
        if (nLength < buffer.size()) {
            return std::wstring(buffer.data(), nLength);
        }
        buffer.resize(buffer.size() * 2);
    }
}
