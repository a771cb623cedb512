// The targets of a list in the order the program shows and searches them.
#pragma once

#include <cstddef>
#include <vector>

#include "model/TargetObjList.h"

struct OrderedTarget {
    const CTargetObj* target;
    size_t listPosition;  // 0-based position from the head of the list (the file order)
};

// Sorted by m_nOrder; targets sharing an order keep their list order.
std::vector<OrderedTarget> TargetsInDisplayOrder(const CTargetObjList& list);
