// A stand-in browser for the end-to-end tests: registered as the opener of .htm files, it copies
// the page it is asked to open (second argument) to a record file (first argument) and ends.
#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    if (ppArgs == nullptr) {
        return 2;
    }
    const bool bCopied = nArgs == 3 && CopyFileW(ppArgs[2], ppArgs[1], FALSE);
    LocalFree(ppArgs);
    return bCopied ? 0 : 1;
}
