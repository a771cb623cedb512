// Starting TargetBoard.exe, sending it its control messages and ending it.
#include "tests/board/BoardProcess.h"

#include "tests/board/BoardProtocol.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

std::filesystem::path RunningExeFolder() {
    std::wstring strPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD nLength =
            GetModuleFileNameW(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
        if (nLength == 0) {
            return {};
        }
        if (nLength < strPath.size()) {
            strPath.resize(nLength);
            return std::filesystem::path(strPath).parent_path();
        }
        strPath.resize(strPath.size() * 2);
    }
}

CBoardProcess::CBoardProcess(BoardArguments arguments, DWORD nTimeoutMs)
    : m_arguments(std::move(arguments)) {
    const std::wstring strExe = (RunningExeFolder() / kBoardExeName).wstring();
    std::wstring strCommandLine = BuildCommandLine(strExe, BoardArgumentList(m_arguments));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(strExe.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        m_nStartError = GetLastError();
        return;
    }
    m_process.reset(info.hProcess);
    m_thread.reset(info.hThread);
    m_nProcessId = info.dwProcessId;

    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (const HWND hWnd = FindReadyWindow()) {
            m_hWnd = hWnd;
            return;
        }
        if (!IsRunning() || GetTickCount64() >= nDeadline) {
            return;
        }
        Sleep(10);
    }
}

CBoardProcess::~CBoardProcess() {
    if (IsRunning()) {
        TerminateProcess(m_process.get(), 1);
        WaitForSingleObject(m_process.get(), kBoardStartTimeoutMs);
    }
}

bool CBoardProcess::IsRunning() const {
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> CBoardProcess::ExitCode() const {
    DWORD nExitCode = 0;
    if (!m_process || IsRunning() || !GetExitCodeProcess(m_process.get(), &nExitCode)) {
        return std::nullopt;
    }
    return nExitCode;
}

bool CBoardProcess::Show(size_t nIndex, bool bShow) const {
    return Send(kBoardMsgShowPicture, nIndex, bShow ? 1 : 0) == 1;
}

bool CBoardProcess::Move(size_t nIndex, int x, int y) const {
    // The message carries each coordinate as a signed 16-bit value.
    if (x < INT16_MIN || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX) {
        return false;
    }
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                                     static_cast<WORD>(static_cast<int16_t>(y)));
    return Send(kBoardMsgMovePicture, nIndex, lParam) == 1;
}

std::optional<size_t> CBoardProcess::PressCount() const {
    const std::optional<LRESULT> nCount = Send(kBoardMsgPressCount, 0, 0);
    if (!nCount) {
        return std::nullopt;
    }
    return static_cast<size_t>(*nCount);
}

HWND CBoardProcess::FindReadyWindow() const {
    // Another board (of an earlier run) may be there too: only the window of this process counts.
    HWND hWnd = nullptr;
    while ((hWnd = FindWindowExW(nullptr, hWnd, kBoardWindowClass, nullptr)) != nullptr) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == m_nProcessId) {
            break;
        }
    }
    if (hWnd == nullptr) {
        return nullptr;
    }
    const std::vector<BoardEvent> events = Events();
    const bool bReady = std::any_of(events.begin(), events.end(), [](const BoardEvent& event) {
        return event.kind == BoardEvent::Kind::Ready;
    });
    return bReady ? hWnd : nullptr;
}

std::optional<LRESULT> CBoardProcess::Send(UINT nMessage, WPARAM wParam, LPARAM lParam) const {
    if (m_hWnd == nullptr) {
        return std::nullopt;
    }
    DWORD_PTR nResult = 0;
    if (SendMessageTimeoutW(m_hWnd, nMessage, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kBoardAnswerTimeoutMs, &nResult) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(nResult);
}
