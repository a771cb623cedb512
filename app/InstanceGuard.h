// CInstanceGuard: one Tarvik per desktop; a later start hands its file to the running one.
#pragma once

#include "app/IInstanceGuard.h"
#include "app/KernelHandle.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

// The shared block: the running panel's window handle (32 bits) at 0, the path slot at 4.
inline constexpr wchar_t kHandOffBlockName[] = L"Tarvik0.9.20.0";
inline constexpr DWORD kHandOffBlockBytes = 524;
inline constexpr DWORD kHandOffSlotOffset = 4;
// The named mutex that guards the slot between processes: the block's name plus this.
inline constexpr wchar_t kHandOffLockSuffix[] = L".Slot";
// How long a later start waits for the slot to be emptied before it writes anyway.
inline constexpr DWORD kHandOffWaitForSlotMs = 2000;

class CInstanceGuard : public IInstanceGuard {
public:
    // `strBlockName`: the shared block's name; tests use their own.
    explicit CInstanceGuard(std::wstring strBlockName = kHandOffBlockName);
    ~CInstanceGuard() override;
    CInstanceGuard(const CInstanceGuard&) = delete;
    CInstanceGuard& operator=(const CInstanceGuard&) = delete;

    // Replaces the command line's first argument (nothing: no file); for tests.
    void SetCommandLineFile(std::optional<std::wstring> file) {
        m_commandLineFile = std::move(file);
        m_bCommandLineSet = true;
    }

    // First instance: creates the block, writes `hMainWnd` to it, starts the watcher and keeps
    // this start's own file for Register; true. Later start: restores the running panel (only
    // if the block names a Tarvik panel), hands over its file and returns false. True as well
    // when the block cannot be created or mapped: Tarvik then runs without the hand-off.
    bool Start(HWND hMainWnd) override;
    // From now on handed files are announced to `hMainWnd` with HandOffMessage(). Returns this
    // start's own file (absolute), or an empty string.
    std::wstring Register(HWND hMainWnd) override;
    // Ends the watcher (waiting at most 1000 ms) and releases the block.
    void Stop() override;
    std::optional<std::wstring> TakeHandedFile() override;

    // Queues `strPath` for the panel and announces it, or keeps it as the early file while no
    // panel is registered. Any thread.
    void DeliverFile(std::wstring strPath);
    // The last path the watcher took from the slot.
    std::wstring LastFile() const;
    bool Watching() const { return static_cast<bool>(m_hThread); }

private:
    static DWORD WINAPI WatchForHandOff(void* pParameter);
    void Watch();
    // Takes a path from the slot of `pBlock` (clearing it), or clears junk.
    void TakeFromSlot(unsigned char* pBlock);
    void HandOverToRunningInstance();
    // Keeps this first start's own file for Register.
    void KeepOwnFile();
    std::optional<std::wstring> CommandLineFile() const;

    std::wstring m_strBlockName;
    std::optional<std::wstring> m_commandLineFile;
    bool m_bCommandLineSet = false;

    COwnedHandle m_hMapping;
    COwnedHandle m_hSlotLock;
    COwnedHandle m_hStopEvent;
    COwnedHandle m_hThread;
    std::atomic<bool> m_bRun{false};

    // Shared by the watcher and the user-interface thread.
    mutable std::mutex m_mutex;
    HWND m_hMainWnd = nullptr;
    std::wstring m_strEarlyFile;
    std::deque<std::wstring> m_handedFiles;
    std::wstring m_strLastFile;
};

// Posted to the registered panel when TakeHandedFile has a file for it.
UINT HandOffMessage();
// `strPath` made absolute against the current folder; unchanged when that fails.
std::wstring AbsolutePath(const std::wstring& strPath);
// True when `hWnd` is a Tarvik panel: a dialog window of a process run from an executable of
// the same name as this one.
bool IsTarvikPanel(HWND hWnd);
