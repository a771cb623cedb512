// Live counts of the handles our RAII owners hold, per kind.
#include "framework/HandleCounts.h"

#include <array>
#include <atomic>

namespace {

// Atomic because a worker thread may own a handle for a while; the cost is negligible.
std::array<std::atomic<long>, kHandleKindCount> g_live{};

std::atomic<long>& Slot(HandleKind kind) {
    return g_live[static_cast<std::size_t>(kind)];
}

}  // namespace

long CHandleCounts::Live(HandleKind kind) {
    return Slot(kind).load();
}

long CHandleCounts::Total() {
    long total = 0;
    for (const auto& live : g_live) {
        total += live.load();
    }
    return total;
}

void CHandleCounts::Acquired(HandleKind kind) {
    ++Slot(kind);
}

void CHandleCounts::Released(HandleKind kind) {
    --Slot(kind);
}
