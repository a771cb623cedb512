// Where an exception that escaped a message handler goes: window procedures catch everything
// at the Win32 boundary and report it here.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

// Receives the window, the message whose handler threw, and the exception.
using HandlerExceptionHook = std::function<void(HWND hWnd, UINT uMsg, std::exception_ptr)>;

// Installs `hook` for the whole process and returns the previous one; an empty hook restores the
// default, which writes the exception's text to the debugger output and otherwise stays silent
// (the program reports no internal failures to the user).
HandlerExceptionHook SetHandlerExceptionHook(HandlerExceptionHook hook);

// Called from inside a catch block of a window procedure. Never throws: an exception from the
// hook itself is dropped, since nothing may unwind into Win32.
void ReportHandlerException(HWND hWnd, UINT uMsg) noexcept;
