// The target list's order rules and its list body in files.
#include "model/TargetObjList.h"

#include <algorithm>

#include "model/Archive.h"

const CRuntimeClass CTargetObjList::s_runtimeClass = {
    "CTargetObjList", 1,
    []() -> std::unique_ptr<CObject> { return std::make_unique<CTargetObjList>(); }};

CTargetObj& CTargetObjList::AddCaptured(std::unique_ptr<CTargetObj> target) {
    target->m_nOrder = static_cast<int32_t>(m_list.size());
    m_list.push_front(std::move(target));
    return *m_list.front();
}

CTargetObj& CTargetObjList::AddTail(std::unique_ptr<CTargetObj> target) {
    m_list.push_back(std::move(target));
    return *m_list.back();
}

std::unique_ptr<CTargetObj> CTargetObjList::RemoveHead() {
    if (m_list.empty()) {
        return nullptr;
    }
    std::unique_ptr<CTargetObj> head = std::move(m_list.front());
    m_list.pop_front();
    return head;
}

std::unique_ptr<CTargetObj> CTargetObjList::Remove(const CTargetObj* target) {
    const auto found = std::find_if(m_list.begin(), m_list.end(),
                                    [&](const auto& item) { return item.get() == target; });
    if (found == m_list.end()) {
        return nullptr;
    }
    std::unique_ptr<CTargetObj> removed = std::move(*found);
    m_list.erase(found);
    return removed;
}

CTargetObj* CTargetObjList::FindByOrder(int32_t order) const {
    for (const auto& target : m_list) {
        if (target->m_nOrder == order) {
            return target.get();
        }
    }
    return nullptr;
}

void CTargetObjList::RenumberAfterRemove(int32_t removedOrder) {
    for (const auto& target : m_list) {
        if (target->m_nOrder >= removedOrder) {
            --target->m_nOrder;
        }
    }
}

void CTargetObjList::MoveOrder(int32_t from, int32_t to) {
    if (to == from || to == from + 1) {
        return;
    }
    CTargetObj* moved = FindByOrder(from);
    if (moved == nullptr || to < 0 || static_cast<size_t>(to) > m_list.size()) {
        return;
    }
    for (const auto& target : m_list) {
        CTargetObj& other = *target;
        if (&other == moved) {
            continue;
        }
        if (to > from && other.m_nOrder > from && other.m_nOrder <= to - 1) {
            --other.m_nOrder;
        } else if (to < from && other.m_nOrder >= to && other.m_nOrder < from) {
            ++other.m_nOrder;
        }
    }
    moved->m_nOrder = to > from ? to - 1 : to;
}

void CTargetObjList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(kHeader);
        m_nVersion = 1;
        ar.WriteInt(m_nVersion);
        ar.WriteCount(static_cast<uint32_t>(m_list.size()));
        for (const auto& target : m_list) {
            ar.WriteObject(*target);
        }
        return;
    }
    // A header length of 0xFFFF0006 marks a list with nothing more to read.
    constexpr int32_t kEmptyListMark = static_cast<int32_t>(0xFFFF0006u);
    const int32_t headerLength = ar.ReadInt();
    if (headerLength == kEmptyListMark) {
        return;
    }
    m_strHeader = ar.ReadStringOfLength(headerLength);
    m_nVersion = ar.ReadInt();
    const uint32_t count = ar.ReadCount();
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CObject> object = ar.ReadObject(CTargetObj::s_runtimeClass);
        AddTail(std::unique_ptr<CTargetObj>(static_cast<CTargetObj*>(object.release())));
    }
}
