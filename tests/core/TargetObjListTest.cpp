// The target list's order rules and ownership.
#include <gtest/gtest.h>

#include "model/TargetObjList.h"

namespace {

// A list whose targets carry orders 0 .. count - 1, named by their first order.
struct NumberedList {
    explicit NumberedList(int count) {
        for (int i = 0; i < count; ++i) {
            auto target = std::make_unique<CTargetObj>();
            target->m_strName = std::u16string(1, static_cast<char16_t>(u'A' + i));
            targets.push_back(&list.AddCaptured(std::move(target)));
        }
    }
    // Current orders of the targets that had orders 0, 1, 2, ...
    std::vector<int32_t> Orders() const {
        std::vector<int32_t> orders;
        for (const CTargetObj* target : targets) {
            orders.push_back(target->m_nOrder);
        }
        return orders;
    }
    CTargetObjList list;
    std::vector<CTargetObj*> targets;
};

}  // namespace

TEST(TargetObjList, CapturesGoToTheHeadAndComeLastInOrder) {
    NumberedList numbered(3);
    EXPECT_EQ(numbered.Orders(), (std::vector<int32_t>{0, 1, 2}));
    std::vector<std::u16string> listOrder;
    for (const auto& target : numbered.list) {
        listOrder.push_back(target->m_strName);
    }
    EXPECT_EQ(listOrder, (std::vector<std::u16string>{u"C", u"B", u"A"}));
    EXPECT_EQ(numbered.list.FindByOrder(1)->m_strName, u"B");
    EXPECT_EQ(numbered.list.FindByOrder(3), nullptr);
}

TEST(TargetObjList, MoveRule) {
    struct Case {
        int32_t from;
        int32_t to;
        std::vector<int32_t> orders;
    };
    for (const Case& c : std::vector<Case>{
             {2, 3, {0, 1, 2, 3}},  // just after itself: no change
             {2, 2, {0, 1, 2, 3}},  // before itself: no change
             {0, 4, {3, 0, 1, 2}},  // first to last
             {3, 0, {1, 2, 3, 0}},  // last to first
             {1, 3, {0, 2, 1, 3}},
             {3, 1, {0, 2, 3, 1}},
             {0, 9, {0, 1, 2, 3}},  // insertion point outside the list
             {7, 0, {0, 1, 2, 3}},  // no such target
             {-1, 0, {0, 1, 2, 3}},
         }) {
        NumberedList numbered(4);
        numbered.list.MoveOrder(c.from, c.to);
        EXPECT_EQ(numbered.Orders(), c.orders) << "from " << c.from << " to " << c.to;
    }
}

TEST(TargetObjList, RemovalRuleClosesTheGap) {
    NumberedList numbered(4);
    std::unique_ptr<CTargetObj> removed = numbered.list.Remove(numbered.targets[1]);
    ASSERT_EQ(removed.get(), numbered.targets[1]);
    numbered.list.RenumberAfterRemove(1);
    EXPECT_EQ(numbered.list.Count(), 3u);
    EXPECT_EQ(numbered.targets[0]->m_nOrder, 0);
    EXPECT_EQ(numbered.targets[2]->m_nOrder, 1);
    EXPECT_EQ(numbered.targets[3]->m_nOrder, 2);
    EXPECT_EQ(numbered.list.Remove(removed.get()), nullptr);  // no longer in the list
}

TEST(TargetObjList, RemoveHeadAndRemoveAll) {
    NumberedList numbered(3);
    std::unique_ptr<CTargetObj> head = numbered.list.RemoveHead();
    EXPECT_EQ(head->m_strName, u"C");
    EXPECT_EQ(numbered.list.Count(), 2u);
    numbered.list.RemoveAll();
    EXPECT_TRUE(numbered.list.IsEmpty());
    EXPECT_EQ(numbered.list.RemoveHead(), nullptr);
}
