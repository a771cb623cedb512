// Owners of kernel handles and mapped views, released when they go out of scope.
#pragma once

#include <windows.h>

#include <utility>

// A handle closed with CloseHandle; null (never INVALID_HANDLE_VALUE) when it holds none.
class COwnedHandle {
public:
    COwnedHandle() = default;
    explicit COwnedHandle(HANDLE hHandle)
        : m_hHandle(hHandle == INVALID_HANDLE_VALUE ? nullptr : hHandle) {}
    ~COwnedHandle() { Reset(); }
    COwnedHandle(COwnedHandle&& other) noexcept
        : m_hHandle(std::exchange(other.m_hHandle, nullptr)) {}
    COwnedHandle& operator=(COwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hHandle = std::exchange(other.m_hHandle, nullptr);
        }
        return *this;
    }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    HANDLE Get() const { return m_hHandle; }
    explicit operator bool() const { return m_hHandle != nullptr; }
    void Reset() {
        if (m_hHandle != nullptr) {
            ::CloseHandle(std::exchange(m_hHandle, nullptr));
        }
    }
    // Lets go without closing: for a handle a thread that did not end may still use.
    void Abandon() { m_hHandle = nullptr; }

private:
    HANDLE m_hHandle = nullptr;
};

// A view of a file mapping, unmapped with UnmapViewOfFile.
class CMappedView {
public:
    explicit CMappedView(void* pView) : m_pView(static_cast<unsigned char*>(pView)) {}
    ~CMappedView() {
        if (m_pView != nullptr) {
            ::UnmapViewOfFile(m_pView);
        }
    }
    CMappedView(const CMappedView&) = delete;
    CMappedView& operator=(const CMappedView&) = delete;

    unsigned char* Get() const { return m_pView; }
    explicit operator bool() const { return m_pView != nullptr; }

private:
    unsigned char* m_pView;
};
