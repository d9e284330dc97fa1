#include "framework/VxPointerList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Item {
    int id;
};

std::vector<int> g_deleted;

void RecordingDelete(Item* item) {
    g_deleted.push_back(item->id);
    delete item;
}

TEST(VxPointerList, GetOutsideTheListIsNull) {
    VxPointerList<Item> list;
    EXPECT_EQ(list.Get(0), nullptr);
    Item a{1}, b{2};
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(0), &a);
    EXPECT_EQ(list.Get(1), &b);
    EXPECT_EQ(list.Get(2), nullptr);
    list.Empty(false);
}

TEST(VxPointerList, EmptyDeletesFromTheLastItemToTheFirst) {
    g_deleted.clear();
    VxPointerList<Item> list;
    for (int id = 1; id <= 3; ++id)
        list.Add(new Item{id});
    list.Add(nullptr);
    list.Empty(true, RecordingDelete);
    EXPECT_EQ(g_deleted, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(VxPointerList, EmptyWithoutDeletingKeepsTheItems) {
    VxPointerList<Item> list;
    Item kept{7};
    list.Add(&kept);
    list.Empty(false);
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(kept.id, 7);
    list.Add(new Item{8});
    list.Empty(true); // default deletion; ASan reports a leak or a double free
}

} // namespace

namespace {

std::vector<int> Ids(const VxPointerList<Item>& list) {
    std::vector<int> ids;
    for (int i = 0; i < list.GetSize(); ++i)
        ids.push_back(list.Get(i)->id);
    return ids;
}

TEST(VxPointerList, InsertDeleteAndFindKeepTheOrder) {
    Item a{1}, b{2}, c{3}, d{4};
    VxPointerList<Item> list;
    list.Add(&b);
    list.Insert(0, &a);  // front
    list.Insert(99, &d); // past the end appends
    list.Insert(2, &c);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Find(&c), 2);
    list.Delete(1);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(list.Find(&b), -1);
    list.Delete(3); // outside: nothing
    list.Delete(-1);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(b.id, 2); // taken out, not deleted
    list.Empty(false);
}

} // namespace
