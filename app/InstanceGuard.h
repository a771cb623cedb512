// CInstanceGuard: one Tarvik per desktop; a later start hands its file to the running one.
#pragma once

#include "app/IInstanceGuard.h"
#include "app/KernelHandle.h"

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// The shared block: the running panel's window handle (32 bits) at 0, the path slot at 4.
inline constexpr wchar_t kHandOffBlockName[] = L"Tarvik0.9.20.0";
inline constexpr DWORD kHandOffBlockBytes = 524;
inline constexpr DWORD kHandOffSlotOffset = 4;
// The named mutex that guards the slot between processes: the block's name plus this.
inline constexpr wchar_t kHandOffLockSuffix[] = L".Slot";
// The named event beside the block that wakes the running instance's watcher at once: the
// block's name plus this. The watcher still polls, for starts that do not set it.
inline constexpr wchar_t kHandOffWakeSuffix[] = L".Wake";
// A later start waits for the slot as long as the running instance keeps taking files, and
// gives up when it has taken none for this long, or after the overall bound.
inline constexpr DWORD kHandOffStallMs = 3000;
inline constexpr DWORD kHandOffMaxWaitMs = 60000;

enum class HandOverResult {
    Handed,       // the file is in the slot, or there was no file: the running panel is restored
    Refused,      // the path cannot be handed over; the user was told
    NotTaken,     // the running instance took no file in time; the user was told
    RunningGone,  // no Tarvik panel runs any more: this start may run as the first
};

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

    // Decides at once, showing nothing and waiting for no window: false when the block names a
    // live Tarvik panel (a later start: HandOver does the rest). Otherwise this start is the
    // first and takes the block over, even from an instance that is gone: writes `hMainWnd` to
    // it, starts the watcher, keeps this start's own file for Register; true. True as well when
    // the block cannot be created or mapped: Tarvik then runs without the hand-off.
    bool Start(HWND hMainWnd) override;
    // In a later start, once its panel is gone: restores the running panel and puts this start's
    // file into the slot, waiting while earlier files are taken; a path that cannot be handed
    // over, or a running instance that takes nothing, is reported with a message box.
    HandOverResult HandOver();
    // Called under the slot's lock just after this later start has written its path; for tests
    // that record the order in which files entered the slot.
    void SetSlotWrittenObserver(std::function<void(const std::wstring&)> observer) {
        m_slotWritten = std::move(observer);
    }
    // From now on handed files are announced to `hMainWnd` with HandOffMessage(). Returns this
    // start's own file (absolute), or an empty string.
    std::wstring Register(HWND hMainWnd) override;
    // First instance: clears its handle from the block (so that the next start runs as the first
    // and a file still waiting in the slot goes to it), ends the watcher (waiting at most
    // 1000 ms) and releases the block. Nothing in a later start.
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
    // Opens the slot's lock and the watcher's wake event beside the block.
    void OpenSideObjects();
    // Keeps this first start's own file for Register.
    void KeepOwnFile();
    std::optional<std::wstring> CommandLineFile() const;

    std::wstring m_strBlockName;
    std::optional<std::wstring> m_commandLineFile;
    bool m_bCommandLineSet = false;

    COwnedHandle m_hMapping;
    COwnedHandle m_hSlotLock;
    COwnedHandle m_hWakeEvent;
    COwnedHandle m_hStopEvent;
    COwnedHandle m_hThread;
    std::atomic<bool> m_bRun{false};
    // The handle this first instance wrote into the block; Stop clears it if still there.
    HWND m_hOwnWnd = nullptr;
    // The running panel a later start found.
    HWND m_hRunning = nullptr;
    std::function<void(const std::wstring&)> m_slotWritten;

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
