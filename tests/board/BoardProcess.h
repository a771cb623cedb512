// CBoardProcess: a TargetBoard.exe started by a harness, driven with its control messages and
// ended when the harness is done with it.
#pragma once

#include "tests/board/BoardArguments.h"
#include "tests/board/BoardHandle.h"
#include "tests/board/BoardLog.h"

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

// How long the board may take to start, or to answer a control message: only a guard against a
// hang, as Wine on a shared machine is slow at times.
inline constexpr DWORD kBoardStartTimeoutMs = 30000;
inline constexpr DWORD kBoardAnswerTimeoutMs = 20000;

// The folder of the running executable, where TargetBoard.exe is built beside the harness.
std::filesystem::path RunningExeFolder();

class CBoardProcess {
public:
    // Starts <RunningExeFolder()>\TargetBoard.exe with `arguments` and waits until its window
    // exists and the log holds "ready", or the board ended, or `nTimeoutMs` passed: IsReady()
    // tells which.
    explicit CBoardProcess(BoardArguments arguments, DWORD nTimeoutMs = kBoardStartTimeoutMs);
    // Ends a board that still runs (TerminateProcess) and waits until it is gone.
    ~CBoardProcess();
    CBoardProcess(const CBoardProcess&) = delete;
    CBoardProcess& operator=(const CBoardProcess&) = delete;

    bool IsReady() const { return m_hWnd != nullptr; }
    // GetLastError() of CreateProcessW when the board did not start at all.
    DWORD StartError() const { return m_nStartError; }
    bool IsRunning() const;
    // The exit code once the board has ended; nothing while it runs or if it never started.
    std::optional<DWORD> ExitCode() const;
    DWORD ProcessId() const { return m_nProcessId; }
    HWND Window() const { return m_hWnd; }
    const BoardArguments& Arguments() const { return m_arguments; }

    // Shows or hides picture `nIndex`; true once the board has repainted (false for an unknown
    // index or a board that does not answer).
    bool Show(size_t nIndex, bool bShow) const;
    // Moves picture `nIndex` so its top-left is at screen point (x, y); true once repainted.
    bool Move(size_t nIndex, int x, int y) const;
    // Left-button presses the board has logged so far; nothing if it does not answer.
    std::optional<size_t> PressCount() const;

    // The events logged so far.
    std::vector<BoardEvent> Events() const { return ReadBoardLog(m_arguments.logFile); }
    // Polls the log until `condition(events)` holds (true) or `nTimeoutMs` passed (false).
    template <class TCondition>
    bool WaitForEvents(TCondition&& condition, DWORD nTimeoutMs = kBoardAnswerTimeoutMs) const;

private:
    // The board's window once the log holds "ready"; null until then.
    HWND FindReadyWindow() const;
    // SendMessageTimeoutW to the board's window; nothing when it did not answer.
    std::optional<LRESULT> Send(UINT nMessage, WPARAM wParam, LPARAM lParam) const;

    BoardArguments m_arguments;
    CBoardHandle m_process;
    CBoardHandle m_thread;
    DWORD m_nProcessId = 0;
    DWORD m_nStartError = ERROR_SUCCESS;
    HWND m_hWnd = nullptr;
};

template <class TCondition>
bool CBoardProcess::WaitForEvents(TCondition&& condition, DWORD nTimeoutMs) const {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (condition(Events())) {
            return true;
        }
        if (GetTickCount64() >= nDeadline) {
            return false;
        }
        Sleep(10);
    }
}
