// Where an exception that escaped a message handler goes.
#include "framework/HandlerExceptions.h"

#include <cstdio>
#include <utility>

namespace {

HandlerExceptionHook& CurrentHook() {
    static HandlerExceptionHook hook;
    return hook;
}

void WriteToDebugger(UINT uMsg, std::exception_ptr error) {
    char szText[320] = "unknown exception";
    try {
        std::rethrow_exception(std::move(error));
    } catch (const std::exception& e) {
        std::snprintf(szText, sizeof(szText), "%s", e.what());
    } catch (...) {
    }
    char szLine[400];
    std::snprintf(szLine, sizeof(szLine), "Tarvik: handler of message 0x%04X threw: %s\n", uMsg,
                  szText);
    OutputDebugStringA(szLine);
}

}  // namespace

HandlerExceptionHook SetHandlerExceptionHook(HandlerExceptionHook hook) {
    return std::exchange(CurrentHook(), std::move(hook));
}

void ReportHandlerException(HWND hWnd, UINT uMsg) noexcept {
    try {
        const HandlerExceptionHook& hook = CurrentHook();
        if (hook) {
            hook(hWnd, uMsg, std::current_exception());
        } else {
            WriteToDebugger(uMsg, std::current_exception());
        }
    } catch (...) {
    }
}
