// CComApartment: COM initialised on the calling thread for the owner's lifetime.
#pragma once

#include <windows.h>

// ShellExecuteW may hand the open to a shell extension that uses COM, so its thread must have
// initialised COM, apartment-threaded and without OLE1 DDE. Made once per thread for its whole
// life (the application's start-up), never around each call. Not copyable: it must be
// destroyed on the thread that made it.
class CComApartment {
public:
    CComApartment();
    ~CComApartment();
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

    // False when the thread already had another concurrency model; ShellExecuteW then still
    // works with what the thread has.
    bool IsInitialised() const { return m_bInitialised; }

private:
    bool m_bInitialised = false;
};
