// COM for the user-interface thread: the shell's requirement before ShellExecuteW.
#include "app/ComApartment.h"

#include <objbase.h>

CComApartment::CComApartment() {
    // S_FALSE (already initialised the same way) also takes a matching CoUninitialize.
    m_bInitialised =
        SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

CComApartment::~CComApartment() {
    if (m_bInitialised) {
        ::CoUninitialize();
    }
}
