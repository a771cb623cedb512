// The target list: the targets in list order, each with its display and search order number.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "model/RuntimeClass.h"
#include "model/TargetObj.h"

// Owns its targets. The position in the list (head to tail, the file order) is separate from
// each target's m_nOrder, which alone decides display and search order.
class CTargetObjList : public CObject {
public:
    using Targets = std::list<std::unique_ptr<CTargetObj>>;

    static const CRuntimeClass s_runtimeClass;  // "CTargetObjList", schema 1
    static constexpr std::u16string_view kHeader = u"Tarvik data file";

    const CRuntimeClass& GetRuntimeClass() const override { return s_runtimeClass; }
    // Writes the header "Tarvik data file", the version (set to 1 first), the count and every
    // target from head to tail; or reads them, appending targets at the tail as they come.
    void Serialize(CArchive& ar) override;

    size_t Count() const { return m_list.size(); }
    bool IsEmpty() const { return m_list.empty(); }
    Targets::const_iterator begin() const { return m_list.begin(); }
    Targets::const_iterator end() const { return m_list.end(); }

    // Adds a newly captured target at the head; it comes last in order (m_nOrder = old count).
    CTargetObj& AddCaptured(std::unique_ptr<CTargetObj> target);
    // Appends a target as read from a file, keeping its stored m_nOrder.
    CTargetObj& AddTail(std::unique_ptr<CTargetObj> target);
    // Takes the head target out of the list; null when the list is empty.
    std::unique_ptr<CTargetObj> RemoveHead();
    // Takes `target` out of the list and hands it to the caller; null when it is not in the list.
    std::unique_ptr<CTargetObj> Remove(const CTargetObj* target);
    void RemoveAll() { m_list.clear(); }
    // The first target in list order with this order number, or null.
    CTargetObj* FindByOrder(int32_t order) const;

    // After the target of order `removedOrder` has left the list: every order from it up moves
    // down by one.
    void RenumberAfterRemove(int32_t removedOrder);
    // Shows the target of order `from` before the target that has order `to` now (`to` == count
    // puts it last). `to` equal to `from` or `from + 1` changes nothing.
    void MoveOrder(int32_t from, int32_t to);

    std::u16string m_strHeader;
    int32_t m_nVersion = 0;

private:
    Targets m_list;
};
