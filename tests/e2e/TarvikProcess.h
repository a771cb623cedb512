// A Tarvik.exe started by a test, found by its process id and ended when the test is done.
#pragma once

#include "tests/e2e/KernelHandle.h"
#include "tests/e2e/Waiting.h"

#include <windows.h>

#include <string>

// The folder of the test executable: Tarvik.exe is built there, and screenshots go below it.
std::wstring TestExeFolder();

// The visible main window of process `nProcessId`: a top-level dialog ("#32770") titled
// "Tarvik" without an owner (its message boxes share the caption but have an owner), or null.
HWND FindMainWindow(DWORD nProcessId);

class CTarvikProcess {
public:
    // Starts Tarvik.exe from the test executable's folder, with `strArguments` after the program
    // name on its command line, in `strWorkingFolder` (empty: the test's own current folder).
    explicit CTarvikProcess(const std::wstring& strArguments = {},
                            const std::wstring& strWorkingFolder = {});
    // Ends a Tarvik that still runs (with every dialog it has open) and waits until it is gone,
    // so that the next start is never handed over to a leftover instance.
    ~CTarvikProcess();
    CTarvikProcess(const CTarvikProcess&) = delete;
    CTarvikProcess& operator=(const CTarvikProcess&) = delete;

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD StartError() const { return m_nStartError; }
    DWORD Id() const { return m_nId; }
    HANDLE Handle() const { return m_process.get(); }
    // The main thread, which runs all of Tarvik's windows.
    HANDLE MainThread() const { return m_thread.get(); }
    bool IsRunning() const;

    // Milliseconds since just before CreateProcessW.
    double ElapsedMs() const;
    // Polls for the main window until it is visible; null if the process ended or time ran out.
    HWND WaitForMainWindow(DWORD nTimeoutMs = kStartTimeoutMs) const;
    bool WaitForExit(DWORD nTimeoutMs = kStartTimeoutMs) const;
    // TerminateProcess, then waits for the end.
    void Kill();

private:
    CKernelHandle m_process;
    CKernelHandle m_thread;
    DWORD m_nId = 0;
    DWORD m_nStartError = ERROR_SUCCESS;
    LARGE_INTEGER m_started{};
};
