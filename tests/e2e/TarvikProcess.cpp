// Starting, finding and ending Tarvik.exe.
#include "tests/e2e/TarvikProcess.h"

#include "tests/board/BoardProcess.h"
#include "tests/e2e/TarvikWindows.h"

#include <cstdio>
#include <vector>

std::wstring TestExeFolder() {
    return RunningExeFolder().wstring();
}

HWND FindMainWindow(DWORD nProcessId) {
    for (const HWND hWnd : TopLevelWindowsOf(nProcessId)) {
        if (IsWindowVisible(hWnd) && ClassNameOf(hWnd) == L"#32770" &&
            GetWindow(hWnd, GW_OWNER) == nullptr && TextOf(hWnd) == L"Tarvik") {
            return hWnd;
        }
    }
    return nullptr;
}

CTarvikProcess::CTarvikProcess(const std::wstring& strArguments,
                               const std::wstring& strWorkingFolder) {
    const std::wstring strExe = TestExeFolder() + L"\\Tarvik.exe";
    std::wstring strCommandLine = L"\"" + strExe + L"\"";
    if (!strArguments.empty()) {
        strCommandLine += L" " + strArguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // Wine now and then loses a new process while it is being mapped, before any of our code
    // runs, and CreateProcessW reports ERROR_INTERNAL_ERROR; a second try starts it.
    for (int nTry = 0; nTry < 3; ++nTry) {
        QueryPerformanceCounter(&m_started);
        if (CreateProcessW(strExe.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0,
                           nullptr, strWorkingFolder.empty() ? nullptr : strWorkingFolder.c_str(),
                           &startup, &info)) {
            m_process.reset(info.hProcess);
            m_thread.reset(info.hThread);
            m_nId = info.dwProcessId;
            m_nStartError = 0;
            return;
        }
        m_nStartError = GetLastError();
        if (m_nStartError != ERROR_INTERNAL_ERROR) {
            return;
        }
        std::fprintf(stderr, "Wine lost Tarvik.exe while starting it; trying again\n");
    }
}

CTarvikProcess::~CTarvikProcess() {
    if (IsRunning()) {
        Kill();
    }
}

bool CTarvikProcess::IsRunning() const {
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

double CTarvikProcess::ElapsedMs() const {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - m_started.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

HWND CTarvikProcess::WaitForMainWindow(DWORD nTimeoutMs) const {
    HWND hMain = nullptr;
    WaitUntil(
        [&] {
            hMain = FindMainWindow(m_nId);
            return hMain != nullptr || !IsRunning();
        },
        nTimeoutMs, 5);
    return hMain;
}

bool CTarvikProcess::WaitForExit(DWORD nTimeoutMs) const {
    return m_process && WaitForSingleObject(m_process.get(), nTimeoutMs) == WAIT_OBJECT_0;
}

void CTarvikProcess::Kill() {
    if (m_process) {
        TerminateProcess(m_process.get(), 1);
        WaitForSingleObject(m_process.get(), kStartTimeoutMs);
    }
}
