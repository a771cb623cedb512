// Owners of the kernel and registry handles the harness opens.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct CKernelHandleCloser {
    void operator()(HANDLE hHandle) const { CloseHandle(hHandle); }
};
// Process, thread and file handles; INVALID_HANDLE_VALUE must be turned into null first.
using CKernelHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CKernelHandleCloser>;

// Owns the result of CreateFileW; null when it failed.
inline CKernelHandle OwnedFileHandle(HANDLE hFile) {
    return CKernelHandle(hFile == INVALID_HANDLE_VALUE ? nullptr : hFile);
}

struct CRegKeyCloser {
    void operator()(HKEY hKey) const { RegCloseKey(hKey); }
};
using CRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, CRegKeyCloser>;
