// CGdiplusSession: GDI+ started for the owner's lifetime and shut down with the same token.
#pragma once

#include <cstdint>

class CGdiplusSession {
public:
    // Version 1, no debug callback, background thread and external codecs not suppressed.
    CGdiplusSession();
    ~CGdiplusSession();
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;

    bool IsStarted() const { return m_uToken != 0; }

private:
    std::uintptr_t m_uToken = 0;
};
