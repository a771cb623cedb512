// The single-instance guard: the shared block, the watcher thread and the hand-off of a file.
#include "app/InstanceGuard.h"

#include "app/HandOffSlot.h"
#include "app/ModuleFileName.h"
#include "framework/UserPrompts.h"

#include <shellapi.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr DWORD kPollMs = 100;
constexpr DWORD kStopWaitMs = 1000;
// The watcher skips a round rather than wait long for a later start that holds the lock.
constexpr DWORD kWatcherLockWaitMs = 50;
constexpr DWORD kSlotRetryMs = 20;

using SlotUnits = std::array<char16_t, kHandOffSlotUnits>;
static_assert(sizeof(SlotUnits) + kHandOffSlotOffset == kHandOffBlockBytes);

SlotUnits ReadSlot(const unsigned char* pBlock) {
    SlotUnits units{};
    std::memcpy(units.data(), pBlock + kHandOffSlotOffset, sizeof(units));
    return units;
}

void WriteSlot(unsigned char* pBlock, const SlotUnits& units) {
    std::memcpy(pBlock + kHandOffSlotOffset, units.data(), sizeof(units));
}

std::u16string ToU16(const std::wstring& strText) {
    return std::u16string(strText.begin(), strText.end());
}

std::wstring ToWideText(const std::u16string& strText) {
    return std::wstring(strText.begin(), strText.end());
}

// Owns the slot's lock from a successful wait until it goes; an abandoned lock (a later start
// that died holding it) is ours as well.
class CSlotLock {
public:
    CSlotLock(HANDLE hLock, DWORD nWaitMs) : m_hLock(hLock) {
        if (m_hLock == nullptr) {
            m_bOwned = true;  // no lock could be made: go on unguarded rather than not at all
            return;
        }
        const DWORD nResult = ::WaitForSingleObject(m_hLock, nWaitMs);
        m_bOwned = nResult == WAIT_OBJECT_0 || nResult == WAIT_ABANDONED;
    }
    ~CSlotLock() {
        if (m_bOwned && m_hLock != nullptr) {
            ::ReleaseMutex(m_hLock);
        }
    }
    CSlotLock(const CSlotLock&) = delete;
    CSlotLock& operator=(const CSlotLock&) = delete;
    bool Owned() const { return m_bOwned; }

private:
    HANDLE m_hLock;
    bool m_bOwned = false;
};

std::wstring ProcessImageName(DWORD nProcessId) {
    const COwnedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcessId));
    if (!process) {
        return {};
    }
    std::vector<wchar_t> buffer(32768);
    DWORD nLength = static_cast<DWORD>(buffer.size());
    if (!::QueryFullProcessImageNameW(process.Get(), 0, buffer.data(), &nLength)) {
        return {};
    }
    return std::wstring(buffer.data(), nLength);
}

bool SameFileName(const std::wstring& strA, const std::wstring& strB) {
    const std::wstring strNameA = std::filesystem::path(strA).filename().wstring();
    const std::wstring strNameB = std::filesystem::path(strB).filename().wstring();
    return !strNameA.empty() &&
           ::CompareStringOrdinal(strNameA.c_str(), static_cast<int>(strNameA.size()),
                                  strNameB.c_str(), static_cast<int>(strNameB.size()),
                                  TRUE) == CSTR_EQUAL;
}

// The path in lines of `nWidth`: a message box does not break a path, and one line of 300
// characters is wider than the screen.
std::wstring BrokenIntoLines(const std::wstring& strText, size_t nWidth) {
    std::wstring strLines;
    for (size_t nStart = 0; nStart < strText.size(); nStart += nWidth) {
        strLines += (nStart == 0 ? L"" : L"\n") + strText.substr(nStart, nWidth);
    }
    return strLines;
}

void ShowPathTooLong(const std::wstring& strPath) {
    const std::wstring strText =
        L"The file cannot be opened in the running Tarvik: its path is too long (" +
        std::to_wstring(strPath.size()) + L" characters, at most " +
        std::to_wstring(kHandOffMaxPathUnits) + L" are possible).\n\n" +
        BrokenIntoLines(strPath, 48);
    // Topmost: the running panel, just raised, is topmost too and would hide the box.
    Prompts().MessageBox(nullptr, strText, AppTitle(),
                         MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace

UINT HandOffMessage() {
    static const UINT s_uMessage = ::RegisterWindowMessageW(L"Tarvik.HandOff");
    return s_uMessage;
}

std::wstring AbsolutePath(const std::wstring& strPath) {
    const DWORD nNeeded = ::GetFullPathNameW(strPath.c_str(), 0, nullptr, nullptr);
    if (nNeeded == 0) {
        return strPath;
    }
    std::vector<wchar_t> buffer(nNeeded);
    const DWORD nLength = ::GetFullPathNameW(strPath.c_str(), nNeeded, buffer.data(), nullptr);
    if (nLength == 0 || nLength >= nNeeded) {
        return strPath;
    }
    return std::wstring(buffer.data(), nLength);
}

bool IsTarvikPanel(HWND hWnd) {
    if (hWnd == nullptr || !::IsWindow(hWnd)) {
        return false;
    }
    wchar_t szClass[16] = {};
    if (::GetClassNameW(hWnd, szClass, 16) == 0 || std::wstring(szClass) != L"#32770") {
        return false;
    }
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    return nProcessId != 0 && SameFileName(ProcessImageName(nProcessId), ModuleFileName());
}

CInstanceGuard::CInstanceGuard(std::wstring strBlockName)
    : m_strBlockName(std::move(strBlockName)) {}

CInstanceGuard::~CInstanceGuard() {
    Stop();
}

std::optional<std::wstring> CInstanceGuard::CommandLineFile() const {
    if (m_bCommandLineSet) {
        return m_commandLineFile;
    }
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs == nullptr) {
        return std::nullopt;
    }
    std::optional<std::wstring> file;
    if (nArgs >= 2 && ppArgs[1][0] != L'\0') {
        file = ppArgs[1];
    }
    ::LocalFree(ppArgs);
    return file;
}

bool CInstanceGuard::Start(HWND hMainWnd) {
    m_hMapping = COwnedHandle(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   kHandOffBlockBytes, m_strBlockName.c_str()));
    const DWORD nError = ::GetLastError();
    if (!m_hMapping) {
        // Without the block nobody can be handed anything: run alone rather than not at all.
        KeepOwnFile();
        return true;
    }
    m_hSlotLock =
        COwnedHandle(::CreateMutexW(nullptr, FALSE, (m_strBlockName + kHandOffLockSuffix).c_str()));
    if (nError == ERROR_ALREADY_EXISTS) {
        HandOverToRunningInstance();
        m_hSlotLock.Reset();
        m_hMapping.Reset();
        return false;
    }
    {
        const CMappedView view(
            ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
        if (!view) {
            // Holding an unusable block would make every later start hand its file to nobody.
            m_hSlotLock.Reset();
            m_hMapping.Reset();
            KeepOwnFile();
            return true;
        }
        // A section just created is all zeros: clearing it again could wipe a path that a start
        // racing with this one has written meanwhile.
        const auto nHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hMainWnd));
        std::memcpy(view.Get(), &nHandle, sizeof(nHandle));
    }
    m_hStopEvent = COwnedHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    m_bRun = true;
    m_hThread = COwnedHandle(::CreateThread(nullptr, 0, WatchForHandOff, this, 0, nullptr));
    if (!m_hThread) {
        m_bRun = false;
    }
    KeepOwnFile();
    return true;
}

void CInstanceGuard::KeepOwnFile() {
    if (const std::optional<std::wstring> file = CommandLineFile()) {
        DeliverFile(AbsolutePath(*file));
    }
}

void CInstanceGuard::HandOverToRunningInstance() {
    const CMappedView view(
        ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
    if (!view) {
        return;
    }
    // The running instance has another current folder.
    const std::optional<std::wstring> file = CommandLineFile();
    const std::wstring strPath = file ? AbsolutePath(*file) : std::wstring();
    const std::u16string strUnits = ToU16(strPath);
    const HandOffPathCheck check = CheckHandOffPath(strUnits);
    if (check == HandOffPathCheck::TooLong) {
        // Refused before the running panel is raised: it would cover the message.
        ShowPathTooLong(strPath);
        return;
    }
    uint32_t nHandle = 0;
    std::memcpy(&nHandle, view.Get(), sizeof(nHandle));
    // Window handles are 32-bit values, sign-extended on 64-bit Windows.
    const HWND hRunning =
        reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(nHandle)));
    // Any program of the user can write the block: only a Tarvik panel is brought forward.
    if (IsTarvikPanel(hRunning)) {
        const HWND hPopup = ::GetLastActivePopup(hRunning);
        if (::IsWindowEnabled(hRunning) || hPopup == nullptr || hPopup == hRunning) {
            ::ShowWindow(hRunning, SW_RESTORE);
            ::SetForegroundWindow(hRunning);
        } else {
            // The panel waits for an answer in one of its dialogs: that dialog comes forward,
            // and the always-on-top panel is not raised over it.
            ::SetForegroundWindow(hPopup);
        }
    }
    if (check != HandOffPathCheck::Fits) {
        return;  // no file, or one that cannot be written whole
    }
    const ULONGLONG nDeadline = ::GetTickCount64() + kHandOffWaitForSlotMs;
    for (;;) {
        const ULONGLONG nNow = ::GetTickCount64();
        const DWORD nLeft = nNow < nDeadline ? static_cast<DWORD>(nDeadline - nNow) : 0;
        const CSlotLock lock(m_hSlotLock.Get(), nLeft);
        const bool bLate = ::GetTickCount64() >= nDeadline;
        if (lock.Owned()) {
            SlotUnits units = ReadSlot(view.Get());
            // An earlier start's file still waits: it is taken within one watcher round. Past
            // the wait the running instance's watcher is not taking files, and the newest wins.
            if (units[0] == u'\0' || bLate) {
                WriteHandOffSlot(strUnits, units.data(), units.size());
                WriteSlot(view.Get(), units);
                return;
            }
        } else if (bLate) {
            return;
        }
        ::Sleep(kSlotRetryMs);
    }
}

std::wstring CInstanceGuard::Register(HWND hMainWnd) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_hMainWnd = hMainWnd;
    if (!m_handedFiles.empty()) {
        ::PostMessageW(m_hMainWnd, HandOffMessage(), 0, 0);
    }
    return std::exchange(m_strEarlyFile, std::wstring());
}

void CInstanceGuard::DeliverFile(std::wstring strPath) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_hMainWnd == nullptr && m_strEarlyFile.empty()) {
        m_strEarlyFile = std::move(strPath);
        return;
    }
    m_handedFiles.push_back(std::move(strPath));
    if (m_hMainWnd != nullptr) {
        ::PostMessageW(m_hMainWnd, HandOffMessage(), 0, 0);
    }
}

std::optional<std::wstring> CInstanceGuard::TakeHandedFile() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_handedFiles.empty()) {
        return std::nullopt;
    }
    std::wstring strPath = std::move(m_handedFiles.front());
    m_handedFiles.pop_front();
    return strPath;
}

std::wstring CInstanceGuard::LastFile() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_strLastFile;
}

void CInstanceGuard::Stop() {
    m_bRun = false;
    if (m_hStopEvent) {
        ::SetEvent(m_hStopEvent.Get());
    }
    bool bEnded = true;
    if (m_hThread) {
        bEnded = ::WaitForSingleObject(m_hThread.Get(), kStopWaitMs) == WAIT_OBJECT_0;
        m_hThread.Reset();
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_hMainWnd = nullptr;
    }
    if (!bEnded) {
        // A watcher that did not end may still use these: they stay open until the process ends.
        m_hStopEvent.Abandon();
        m_hSlotLock.Abandon();
        m_hMapping.Abandon();
        return;
    }
    m_hStopEvent.Reset();
    m_hSlotLock.Reset();
    m_hMapping.Reset();
}

DWORD WINAPI CInstanceGuard::WatchForHandOff(void* pParameter) {
    static_cast<CInstanceGuard*>(pParameter)->Watch();
    return 0;
}

void CInstanceGuard::Watch() {
    const CMappedView view(
        ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
    if (!view) {
        return;
    }
    while (m_bRun) {
        TakeFromSlot(view.Get());
        if (::WaitForSingleObject(m_hStopEvent.Get(), kPollMs) != WAIT_TIMEOUT) {
            break;
        }
    }
}

void CInstanceGuard::TakeFromSlot(unsigned char* pBlock) {
    const CSlotLock lock(m_hSlotLock.Get(), kWatcherLockWaitMs);
    if (!lock.Owned()) {
        return;
    }
    SlotUnits units = ReadSlot(pBlock);
    const HandOffSlotReading reading = ReadHandOffSlot(units.data(), units.size());
    switch (reading.state) {
        case HandOffSlotState::Empty:
            return;
        case HandOffSlotState::Unterminated:
            units.fill(u'\0');
            WriteSlot(pBlock, units);
            return;
        case HandOffSlotState::Path:
            break;
    }
    units[0] = u'\0';
    WriteSlot(pBlock, units);
    std::wstring strPath = ToWideText(reading.strPath);
    {
        const std::lock_guard<std::mutex> guard(m_mutex);
        m_strLastFile = strPath;
    }
    DeliverFile(std::move(strPath));
}
