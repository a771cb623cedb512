// Sorting a list's targets by their order numbers.
#include "tools/cli/DisplayOrder.h"

#include <algorithm>

std::vector<OrderedTarget> TargetsInDisplayOrder(const CTargetObjList& list) {
    std::vector<OrderedTarget> ordered;
    ordered.reserve(list.Count());
    size_t position = 0;
    for (const auto& target : list) {
        ordered.push_back({target.get(), position++});
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        return a.target->m_nOrder < b.target->m_nOrder;
    });
    return ordered;
}
