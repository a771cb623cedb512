// The keys that reach the system while a test runs, seen by a low-level keyboard hook.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

using KeyEvent = std::pair<DWORD, bool>;  // virtual key, down

// Records every key event from construction until Stop() or destruction. The hook runs on the
// constructing thread, which must pump messages meanwhile. One recorder at a time.
class CKeyRecorder {
public:
    CKeyRecorder();
    ~CKeyRecorder() { Stop(); }
    CKeyRecorder(const CKeyRecorder&) = delete;
    CKeyRecorder& operator=(const CKeyRecorder&) = delete;

    bool IsRecording() const { return m_hHook != nullptr; }
    void Stop();
    const std::vector<KeyEvent>& Keys() const { return m_keys; }

private:
    static LRESULT CALLBACK Record(int nCode, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHook = nullptr;
    std::vector<KeyEvent> m_keys;
};
