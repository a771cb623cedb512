// A stand-in browser for the tests: registered as the opener of .htm pages, it copies the page it
// is asked to open (second argument) to a record file (first argument); when there is no such
// page it writes the path it was given there instead, in UTF-16, so a test can read it.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    if (ppArgs == nullptr) {
        return 2;
    }
    bool bRecorded = false;
    if (nArgs == 3) {
        bRecorded = CopyFileW(ppArgs[2], ppArgs[1], FALSE) != FALSE;
        if (!bRecorded) {
            const HANDLE hFile = CreateFileW(ppArgs[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
            if (hFile != INVALID_HANDLE_VALUE) {
                const DWORD cbPath = static_cast<DWORD>(std::wcslen(ppArgs[2]) * sizeof(wchar_t));
                DWORD cbWritten = 0;
                bRecorded =
                    WriteFile(hFile, ppArgs[2], cbPath, &cbWritten, nullptr) && cbWritten == cbPath;
                CloseHandle(hFile);
            }
        }
    }
    LocalFree(ppArgs);
    return bRecorded ? 0 : 1;
}
