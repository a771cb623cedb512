// TargetBoard.exe: shows pictures at given screen places for Tarvik to find and click, and logs
// every click it receives (see tests/board/BoardProtocol.h).
#include "tests/board/BoardArguments.h"
#include "tests/board/BoardLogWriter.h"
#include "tests/board/BoardPicture.h"
#include "tests/board/BoardProtocol.h"
#include "tests/board/BoardWindow.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUsage[] =
    L"usage: TargetBoard.exe --log FILE [--picture FILE.bmp X Y [--hidden]]... "
    L"[--demo-picture X Y [--hidden]]...";

struct CLocalFree {
    void operator()(LPWSTR* ppArguments) const { LocalFree(ppArguments); }
};

// The arguments after the program name.
std::vector<std::wstring> CommandLineArguments() {
    int nCount = 0;
    const std::unique_ptr<LPWSTR, CLocalFree> arguments(
        CommandLineToArgvW(GetCommandLineW(), &nCount));
    if (!arguments) {
        return {};
    }
    return std::vector<std::wstring>(arguments.get() + (nCount > 0 ? 1 : 0),
                                     arguments.get() + nCount);
}

// A windowed program has no console of its own: the message goes to the standard error it was
// given, or else to the console of the program that started it, if any.
void ReportError(const std::wstring& strMessage) {
    HANDLE hError = GetStdHandle(STD_ERROR_HANDLE);
    if (hError == nullptr || hError == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            return;
        }
        hError = GetStdHandle(STD_ERROR_HANDLE);
        if (hError == nullptr || hError == INVALID_HANDLE_VALUE) {
            return;
        }
    }
    const std::wstring strText = L"TargetBoard: " + strMessage + L"\n";
    DWORD nMode = 0;
    DWORD nWritten = 0;
    if (GetConsoleMode(hError, &nMode)) {
        WriteConsoleW(hError, strText.data(), static_cast<DWORD>(strText.size()), &nWritten,
                      nullptr);
        return;
    }
    const int nBytes = WideCharToMultiByte(
        CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0, nullptr, nullptr);
    std::string strUtf8(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                        strUtf8.data(), nBytes, nullptr, nullptr);
    WriteFile(hError, strUtf8.data(), static_cast<DWORD>(strUtf8.size()), &nWritten, nullptr);
}

int RunBoard(HINSTANCE hInstance) {
    // Screen points must be device pixels, or the pictures would be scaled on a high-DPI screen.
    SetProcessDPIAware();

    const std::vector<std::wstring> arguments = CommandLineArguments();
    std::wstring strError;
    const std::optional<BoardArguments> parsed = ParseBoardArguments(arguments, strError);
    if (!parsed) {
        ReportError(strError + L"\n" + kUsage);
        return kBoardExitBadArguments;
    }

    std::vector<BoardPicture> pictures;
    for (const BoardPictureArgument& argument : parsed->pictures) {
        std::optional<PixelBuffer> pixels =
            argument.file.empty() ? MakeDemoPicture() : LoadBoardPicture(argument.file);
        if (!pixels) {
            ReportError(L"cannot read the picture \"" + argument.file.wstring() +
                        L"\" (not a 16-, 24- or 32-bit BMP file?)");
            return kBoardExitBadArguments;
        }
        pictures.push_back({std::move(*pixels), argument.topLeft, !argument.bHidden});
    }

    CBoardLogWriter log(parsed->logFile);
    if (!log.IsOpen()) {
        ReportError(L"cannot create the log \"" + parsed->logFile.wstring() + L"\" (error " +
                    std::to_wstring(log.OpenError()) + L")");
        return kBoardExitFailure;
    }
    // One row short of the screen: Wine treats a foreground window that covers the whole screen
    // as a full-screen program's, and while one of another process is in front, the pointer
    // place Tarvik reads stays behind its own and the test's moves.
    RECT rcWindow{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 1};
    if (parsed->window) {
        rcWindow = RECT{parsed->window->left, parsed->window->top, parsed->window->right,
                        parsed->window->bottom};
    }
    CBoardWindow window(hInstance, std::move(pictures), rcWindow, log);
    if (!window.Create()) {
        ReportError(L"cannot create the window (error " + std::to_wstring(GetLastError()) + L")");
        return kBoardExitFailure;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int) {
    try {
        return RunBoard(hInstance);
    } catch (const std::exception& error) {
        ReportError(L"stopped by an error: " +
                    std::wstring(error.what(), error.what() + std::strlen(error.what())));
        return kBoardExitFailure;
    }
}
