// Working storage that a search kept from screen to screen reuses instead of allocating anew.
#pragma once

#include <cstddef>
#include <memory>

// An array of plain values that grows when asked for more room and otherwise keeps what it has.
// Its elements are left uninitialised: the searches write every element before reading it, and
// the pages of a large buffer that no search writes are never touched.
template <typename T>
class CScratchArray {
public:
    // Room for `count` elements, holding whatever was left in them before.
    T* Room(size_t count) {
        if (count > m_nCapacity) {
            // The old buffer goes first, so that the two are never held at once.
            m_data.reset();
            m_nCapacity = 0;
            m_data = std::make_unique_for_overwrite<T[]>(count);
            m_nCapacity = count;
        }
        return m_data.get();
    }

private:
    std::unique_ptr<T[]> m_data;
    size_t m_nCapacity = 0;
};
