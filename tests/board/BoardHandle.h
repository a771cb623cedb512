// Owner of the kernel handles (files, processes, threads) that the board and its harnesses open.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct CBoardHandleCloser {
    void operator()(HANDLE hHandle) const { CloseHandle(hHandle); }
};
// INVALID_HANDLE_VALUE (a failed CreateFileW) must be turned into null before it is owned.
using CBoardHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, CBoardHandleCloser>;
