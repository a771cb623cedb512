// Entry point of tarvik-cli: hands the arguments, as the system gives them, to RunCli.
#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/cli/RunCli.h"

#ifdef _WIN32
#include <windows.h>

namespace {

// Shows our UTF-8 output correctly in a console, and gives the console its code page back.
class ConsoleUtf8Output {
public:
    ConsoleUtf8Output() : m_nOldCodePage(GetConsoleOutputCP()) {
        if (m_nOldCodePage != 0) {
            SetConsoleOutputCP(CP_UTF8);
        }
    }
    ~ConsoleUtf8Output() {
        if (m_nOldCodePage != 0) {
            SetConsoleOutputCP(m_nOldCodePage);
        }
    }
    ConsoleUtf8Output(const ConsoleUtf8Output&) = delete;
    ConsoleUtf8Output& operator=(const ConsoleUtf8Output&) = delete;

private:
    UINT m_nOldCodePage;
};

}  // namespace

// UTF-16 arguments keep every file name intact, whatever the ANSI code page is.
int wmain(int argc, wchar_t** argv) {
    const std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    const ConsoleUtf8Output console;
    const int status = RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
#else
int main(int argc, char** argv) {
    const std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
#endif
