// CHandleOwner<TTraits>: the one move-only owner behind our handle types, counted per kind.
#pragma once

#include "framework/HandleCounts.h"

#include <utility>

// TTraits names the handle type, its HandleKind and how to give it back:
//   struct CIconTraits { using Handle = HICON; static constexpr HandleKind kKind = ...;
//                        static void Close(HICON h) { ::DestroyIcon(h); } };
template <class TTraits>
class CHandleOwner {
public:
    using Handle = typename TTraits::Handle;

    CHandleOwner() = default;
    // Takes ownership of `hHandle` (nullptr: owns nothing).
    explicit CHandleOwner(Handle hHandle) : m_hHandle(hHandle) { Counted(+1); }
    ~CHandleOwner() { Reset(); }

    CHandleOwner(CHandleOwner&& other) noexcept
        : m_hHandle(std::exchange(other.m_hHandle, nullptr)) {}
    CHandleOwner& operator=(CHandleOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            m_hHandle = std::exchange(other.m_hHandle, nullptr);
        }
        return *this;
    }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    Handle Get() const { return m_hHandle; }
    explicit operator bool() const { return m_hHandle != nullptr; }

    // Gives back the handle held and takes `hHandle`.
    void Reset(Handle hHandle = nullptr) {
        if (hHandle == m_hHandle) {
            return;
        }
        if (m_hHandle != nullptr) {
            TTraits::Close(m_hHandle);
            Counted(-1);
        }
        m_hHandle = hHandle;
        Counted(+1);
    }
    // Gives up ownership without closing, for a receiver that takes it over (a menu attached to
    // a window, a region given to SetWindowRgn).
    [[nodiscard]] Handle Release() {
        Counted(-1);
        return std::exchange(m_hHandle, nullptr);
    }

private:
    void Counted(int nDelta) const {
        if (m_hHandle == nullptr) {
            return;
        }
        if (nDelta > 0) {
            CHandleCounts::Acquired(TTraits::kKind);
        } else {
            CHandleCounts::Released(TTraits::kKind);
        }
    }

    Handle m_hHandle = nullptr;
};
