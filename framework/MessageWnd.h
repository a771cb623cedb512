// CMessageWnd: the common base of our windows that receive messages (dialogs, custom windows,
// subclassed controls): one virtual lookup, default processing, and the exception boundary.
#pragma once

#include "framework/Wnd.h"

class CMessageWnd : public CWnd {
public:
    CMessageWnd(const CMessageWnd&) = delete;
    CMessageWnd& operator=(const CMessageWnd&) = delete;

protected:
    // The object must outlive its window: the window procedure keeps a pointer to it.
    CMessageWnd() = default;
    ~CMessageWnd() override = default;

    // Looks the message up; true when a handler took it, with its result in lResult. The message
    // tables of CMessageTables<T, ...> override this (see MessageMap.h).
    virtual bool OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    // What a message gets when no handler takes it: the dialog manager's, the window class's or
    // the control's original processing.
    virtual LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

    // Runs the default processing for the message being handled now, from inside its handler,
    // and returns its result ("default handling, then ..."). Returns 0 outside a handler.
    LRESULT Default();

    enum class DispatchResult { Handled, NotHandled, Threw };
    // Calls OnMessage with the message recorded for Default(). Exceptions stop here: they are
    // reported (HandlerExceptions.h) and come back as Threw.
    DispatchResult Dispatch(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) noexcept;

private:
    struct CCurrentMessage {
        UINT uMsg = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CCurrentMessage m_msgCurrent;
    int m_nDispatchDepth = 0;
};
