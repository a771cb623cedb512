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
// The lock is held only while the block is read or written, so a wait for it is short; past
// this, something holding it has hung, and a start goes on without it rather than hang too.
constexpr DWORD kLockWaitMs = 1000;
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

std::wstring PathInLines(const std::wstring& strPath) {
    return ToWideText(BreakIntoLines(ToU16(strPath), 48));
}

// Topmost: the running panel, just raised, is topmost too and would hide the box.
void ShowHandOffProblem(const std::wstring& strText) {
    Prompts().MessageBox(nullptr, strText, AppTitle(),
                         MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST | MB_SETFOREGROUND);
}

void ShowPathTooLong(const std::wstring& strPath) {
    ShowHandOffProblem(L"The file cannot be opened in the running Tarvik: its path is too long (" +
                       std::to_wstring(strPath.size()) + L" characters, at most " +
                       std::to_wstring(kHandOffMaxPathUnits) + L" are possible).\n\n" +
                       PathInLines(strPath));
}

void ShowNotTaken(const std::wstring& strPath) {
    ShowHandOffProblem(
        L"The file could not be opened in the running Tarvik: it has not taken the files handed "
        L"to it. Open the file from Tarvik's File menu.\n\n" +
        PathInLines(strPath));
}

HWND ReadHandle(const unsigned char* pBlock) {
    uint32_t nHandle = 0;
    std::memcpy(&nHandle, pBlock, sizeof(nHandle));
    // Window handles are 32-bit values, sign-extended on 64-bit Windows.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(nHandle)));
}

void WriteHandle(unsigned char* pBlock, HWND hWnd) {
    const auto nHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hWnd));
    std::memcpy(pBlock, &nHandle, sizeof(nHandle));
}

void RestoreRunningPanel(HWND hRunning) {
    const HWND hPopup = ::GetLastActivePopup(hRunning);
    if (::IsWindowEnabled(hRunning) || hPopup == nullptr || hPopup == hRunning) {
        ::ShowWindow(hRunning, SW_RESTORE);
        ::SetForegroundWindow(hRunning);
    } else {
        // The panel waits for an answer in one of its dialogs: that dialog comes forward, and
        // the always-on-top panel is not raised over it.
        ::SetForegroundWindow(hPopup);
    }
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

void CInstanceGuard::OpenSideObjects() {
    m_hSlotLock =
        COwnedHandle(::CreateMutexW(nullptr, FALSE, (m_strBlockName + kHandOffLockSuffix).c_str()));
    m_hWakeEvent = COwnedHandle(
        ::CreateEventW(nullptr, FALSE, FALSE, (m_strBlockName + kHandOffWakeSuffix).c_str()));
}

bool CInstanceGuard::Start(HWND hMainWnd) {
    // Nothing here shows a window or waits for one: until this start knows whether it is the
    // first, its panel must not answer a message (a later start's panel would save as the first).
    m_hMapping = COwnedHandle(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   kHandOffBlockBytes, m_strBlockName.c_str()));
    if (!m_hMapping) {
        // Without the block nobody can be handed anything: run alone rather than not at all.
        KeepOwnFile();
        return true;
    }
    OpenSideObjects();
    m_hRunning = nullptr;
    bool bLater = false;
    {
        const CMappedView view(
            ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
        if (!view) {
            // Holding an unusable block would make every later start hand its file to nobody.
            m_hWakeEvent.Reset();
            m_hSlotLock.Reset();
            m_hMapping.Reset();
            KeepOwnFile();
            return true;
        }
        // Deciding and writing the handle under the lock: of two starts at once, one is first.
        const CSlotLock lock(m_hSlotLock.Get(), kLockWaitMs);
        const HWND hRunning = ReadHandle(view.Get());
        bLater = hRunning != hMainWnd && IsTarvikPanel(hRunning);
        if (bLater) {
            m_hRunning = hRunning;
        } else {
            // A new block is all zeros; one taken over from an instance that is gone keeps its
            // slot: a file waiting there was handed over and is opened here.
            WriteHandle(view.Get(), hMainWnd);
            m_hOwnWnd = hMainWnd;
        }
    }
    if (bLater) {
        // A later start: HandOver opens the block again once its panel is gone.
        m_hWakeEvent.Reset();
        m_hSlotLock.Reset();
        m_hMapping.Reset();
        return false;
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

HandOverResult CInstanceGuard::HandOver() {
    // The running instance has another current folder.
    const std::optional<std::wstring> file = CommandLineFile();
    const std::wstring strPath = file ? AbsolutePath(*file) : std::wstring();
    const std::u16string strUnits = ToU16(strPath);
    const HandOffPathCheck check = CheckHandOffPath(strUnits);
    if (check == HandOffPathCheck::TooLong) {
        // Refused before the running panel is raised: it would cover the message.
        ShowPathTooLong(strPath);
        return HandOverResult::Refused;
    }
    m_hMapping =
        COwnedHandle(::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, m_strBlockName.c_str()));
    const CMappedView view(m_hMapping ? ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0,
                                                        kHandOffBlockBytes)
                                      : nullptr);
    if (!view || !IsTarvikPanel(m_hRunning)) {
        return HandOverResult::RunningGone;
    }
    OpenSideObjects();
    RestoreRunningPanel(m_hRunning);
    if (check != HandOffPathCheck::Fits) {
        return HandOverResult::Handed;  // no file, or one that cannot be written whole
    }
    // The lock is taken for each look at the slot only: the watcher and the other starts get it
    // between two looks. Every change of the slot is a file taken, and the wait goes on.
    const ULONGLONG nBegun = ::GetTickCount64();
    ULONGLONG nLastProgress = nBegun;
    std::optional<SlotUnits> seen;
    for (;;) {
        HWND hNamed = m_hRunning;
        {
            const CSlotLock lock(m_hSlotLock.Get(), kLockWaitMs);
            if (lock.Owned()) {
                hNamed = ReadHandle(view.Get());
                SlotUnits units = ReadSlot(view.Get());
                if (hNamed == m_hRunning && units[0] == u'\0' && ::IsWindow(hNamed)) {
                    WriteHandOffSlot(strUnits, units.data(), units.size());
                    WriteSlot(view.Get(), units);
                    if (m_slotWritten) {
                        m_slotWritten(strPath);
                    }
                    if (m_hWakeEvent) {
                        ::SetEvent(m_hWakeEvent.Get());
                    }
                    return HandOverResult::Handed;
                }
                if (seen != units) {
                    seen = units;
                    nLastProgress = ::GetTickCount64();
                }
            }
        }
        if (hNamed != m_hRunning) {
            // Cleared by the running instance as it ends; or another instance took the block
            // over from one that went, and takes the file.
            if (!IsTarvikPanel(hNamed)) {
                return HandOverResult::RunningGone;
            }
            m_hRunning = hNamed;
            continue;
        }
        if (!IsTarvikPanel(m_hRunning)) {
            return HandOverResult::RunningGone;
        }
        const ULONGLONG nNow = ::GetTickCount64();
        if (nNow - nLastProgress >= kHandOffStallMs || nNow - nBegun >= kHandOffMaxWaitMs) {
            ShowNotTaken(strPath);
            return HandOverResult::NotTaken;
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
    if (m_hOwnWnd != nullptr && m_hMapping) {
        const CMappedView view(
            ::MapViewOfFile(m_hMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kHandOffBlockBytes));
        const CSlotLock lock(m_hSlotLock.Get(), kLockWaitMs);
        if (view && lock.Owned() && ReadHandle(view.Get()) == m_hOwnWnd) {
            WriteHandle(view.Get(), nullptr);
        }
    }
    m_hOwnWnd = nullptr;
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
        m_hWakeEvent.Abandon();
        m_hSlotLock.Abandon();
        m_hMapping.Abandon();
        return;
    }
    m_hStopEvent.Reset();
    m_hWakeEvent.Reset();
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
    // Woken at once by a start that has written the slot; the poll catches any other writer.
    const HANDLE handles[] = {m_hStopEvent.Get(), m_hWakeEvent.Get()};
    const DWORD nHandles = m_hWakeEvent ? 2 : 1;
    while (m_bRun) {
        TakeFromSlot(view.Get());
        const DWORD nResult = ::WaitForMultipleObjects(nHandles, handles, FALSE, kPollMs);
        if (nResult != WAIT_TIMEOUT && nResult != WAIT_OBJECT_0 + 1) {
            break;
        }
    }
}

void CInstanceGuard::TakeFromSlot(unsigned char* pBlock) {
    const CSlotLock lock(m_hSlotLock.Get(), kLockWaitMs);
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
