// Counts the heap bytes the program holds, through replaced global operators new and delete.
#pragma once

#include <cstddef>

// Every form of operator new and delete in the program goes through the counter (it is linked
// into tarvik-bench only). Counts are the bytes asked for, not the allocator's overhead.
namespace heap_counter {

// Bytes allocated with new and not yet deleted.
size_t LiveBytes();
// The highest LiveBytes() since the last ResetPeak.
size_t PeakBytes();
// Starts a new peak from the current live bytes.
void ResetPeak();

}  // namespace heap_counter

// Measures the extra heap a piece of work needs at its worst and what it still holds at the end.
class HeapWatch {
public:
    HeapWatch() : m_nStart(heap_counter::LiveBytes()) { heap_counter::ResetPeak(); }
    // Highest live bytes above the start since construction.
    size_t PeakExtra() const;
    // Live bytes now above the start (0 when less is live than at the start).
    size_t RetainedExtra() const;

private:
    size_t m_nStart;
};
