// Entry point of Tarvik.exe.
#include "app/TarvikApp.h"

#include <windows.h>

namespace {

CTarvikApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
