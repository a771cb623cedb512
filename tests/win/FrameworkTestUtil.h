// Helpers of the framework tests: scripted prompts, a recorder of handler exceptions, message
// pumping, an answerer for system dialog boxes, and the virtual screen's rectangle.
#pragma once

#include "engine/WindowDpi.h"
#include "framework/HandlerExceptions.h"
#include "framework/UserPrompts.h"

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The virtual screen, every monitor, in desktop pixels: what the selection overlay covers.
inline RECT VirtualScreenRect() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Loads the up-down control class the probe template uses; safe to call repeatedly.
inline void InitFrameworkTestControls() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

// Dispatches everything already posted to this thread.
inline void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Prompts that answer from a script and record every call.
class CScriptedPrompts : public IUserPrompts {
public:
    struct CCall {
        std::wstring strKind;  // "message", "open" or "save"
        HWND hOwner = nullptr;
        std::wstring strText;  // message text or file name
        std::wstring strCaption;
        UINT uType = 0;
        CFileDialogParams params;
    };

    std::deque<int> m_messageAnswers;                       // IDOK when empty
    std::deque<std::optional<std::wstring>> m_fileAnswers;  // cancel when empty
    std::function<void(const CCall&)> m_onCall;             // runs while the "prompt" is open
    std::vector<CCall> m_calls;

    int MessageBox(HWND hOwner, const std::wstring& strText, const std::wstring& strCaption,
                   UINT uType) override {
        Record({L"message", hOwner, strText, strCaption, uType, {}});
        return Next(m_messageAnswers, IDOK);
    }
    std::optional<std::wstring> ChooseOpenFile(HWND hOwner,
                                               const CFileDialogParams& params) override {
        Record({L"open", hOwner, params.strFileName, {}, 0, params});
        return Next(m_fileAnswers, std::optional<std::wstring>());
    }
    std::optional<std::wstring> ChooseSaveFile(HWND hOwner,
                                               const CFileDialogParams& params) override {
        Record({L"save", hOwner, params.strFileName, {}, 0, params});
        return Next(m_fileAnswers, std::optional<std::wstring>());
    }

private:
    void Record(CCall call) {
        m_calls.push_back(std::move(call));
        if (m_onCall) {
            m_onCall(m_calls.back());
        }
    }
    template <class TValue>
    static TValue Next(std::deque<TValue>& answers, TValue fallback) {
        if (answers.empty()) {
            return fallback;
        }
        TValue value = std::move(answers.front());
        answers.pop_front();
        return value;
    }
};

// Records the exceptions that window procedures report, while it lives.
class CExceptionRecorder {
public:
    struct CReport {
        HWND hWnd;
        UINT uMsg;
        std::string strWhat;
    };

    CExceptionRecorder()
        : m_previous(SetHandlerExceptionHook([this](HWND hWnd, UINT uMsg, std::exception_ptr e) {
              std::string strWhat = "(not a std::exception)";
              try {
                  std::rethrow_exception(e);
              } catch (const std::exception& error) {
                  strWhat = error.what();
              } catch (...) {
              }
              m_reports.push_back({hWnd, uMsg, strWhat});
          })) {}
    ~CExceptionRecorder() { SetHandlerExceptionHook(std::move(m_previous)); }
    CExceptionRecorder(const CExceptionRecorder&) = delete;
    CExceptionRecorder& operator=(const CExceptionRecorder&) = delete;

    const std::vector<CReport>& Reports() const { return m_reports; }

private:
    HandlerExceptionHook m_previous;
    std::vector<CReport> m_reports;
};

// Answers the system dialog boxes (#32770) this thread shows, as a person would: each new box
// gets WM_COMMAND `uCommand`. A thread timer does the looking, since the box runs its own modal
// loop. A box that is still open long after its answer is cancelled so that a test never hangs.
class CDialogAnswerer {
public:
    explicit CDialogAnswerer(UINT uCommand) {
        s_pActive = this;
        m_uCommand = uCommand;
        m_uTimer = SetTimer(nullptr, 0, 100, OnTimer);
    }
    ~CDialogAnswerer() {
        KillTimer(nullptr, m_uTimer);
        s_pActive = nullptr;
    }
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    // The caption of each box answered, in order.
    const std::vector<std::wstring>& Answered() const { return m_answered; }

private:
    static constexpr int kTicksBeforeCancel = 300;

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_pActive != nullptr) {
            EnumThreadWindows(GetCurrentThreadId(), OnWindow, 0);
        }
    }
    static BOOL CALLBACK OnWindow(HWND hWnd, LPARAM) {
        wchar_t szClass[16] = {};
        GetClassNameW(hWnd, szClass, 16);
        if (std::wstring(szClass) != L"#32770" || !IsWindowVisible(hWnd)) {
            return TRUE;
        }
        CDialogAnswerer& self = *s_pActive;
        if (hWnd != self.m_hLastBox) {
            wchar_t szCaption[256] = {};
            GetWindowTextW(hWnd, szCaption, 256);
            self.m_answered.emplace_back(szCaption);
            self.m_hLastBox = hWnd;
            self.m_nTicks = 0;
            PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(self.m_uCommand, BN_CLICKED), 0);
        } else if (++self.m_nTicks == kTicksBeforeCancel) {
            PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        return FALSE;
    }

    static inline CDialogAnswerer* s_pActive = nullptr;
    UINT m_uCommand = 0;
    UINT_PTR m_uTimer = 0;
    HWND m_hLastBox = nullptr;
    int m_nTicks = 0;
    std::vector<std::wstring> m_answered;
};

// Lays windows out at `nDpi` for as long as it lives, however the test ends.
class CDpiOverride {
public:
    explicit CDpiOverride(int nDpi) { OverrideWindowDpiForTest(nDpi); }
    ~CDpiOverride() { OverrideWindowDpiForTest(0); }
    CDpiOverride(const CDpiOverride&) = delete;
    CDpiOverride& operator=(const CDpiOverride&) = delete;
};
