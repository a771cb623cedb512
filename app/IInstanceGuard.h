// IInstanceGuard: what the panel needs of the single-instance guard, so that the guard can be
// replaced in tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class IInstanceGuard {
public:
    virtual ~IInstanceGuard() = default;
    // True in the first instance. False when another instance runs: the panel is to close
    // itself at once, saving nothing; the hand-over of this start's file follows its end.
    // Decides without running a message loop.
    virtual bool Start(HWND hMainWnd) = 0;
    // Called in the first instance once the panel is ready for handed-over files (they arrive
    // through the panel's timer 9997). Returns a file named on this start's own command line,
    // or an empty string.
    virtual std::wstring Register(HWND hMainWnd) = 0;
    // Ends the watching; called while the panel's window is being destroyed.
    virtual void Stop() = 0;
    // The next file handed over since the panel was told with the hand-off message, in the
    // order they came; nothing when none waits.
    virtual std::optional<std::wstring> TakeHandedFile() { return std::nullopt; }
};
