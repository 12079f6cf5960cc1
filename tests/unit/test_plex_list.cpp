#include <gtest/gtest.h>

#include <thread>

#include "platform/base/critical_section.h"
#include "platform/base/cstring.h"
#include "platform/base/plex_list.h"

namespace {

TEST(PlexList, NodesComeFromBlocksOfTenThatAreReusedAndReleasedTogether) {
    CList<int*, int*> list;
    int values[25] = {};
    EXPECT_EQ(list.GetBlockCount(), 0);
    for (int i = 0; i < 10; ++i) {
        list.AddTail(&values[i]);
    }
    EXPECT_EQ(list.GetBlockCount(), 1);
    list.AddTail(&values[10]);
    EXPECT_EQ(list.GetBlockCount(), 2);

    // A freed node is reused before another block is taken.
    EXPECT_EQ(list.RemoveTail(), &values[10]);
    list.AddTail(&values[11]);
    EXPECT_EQ(list.GetBlockCount(), 2);
    EXPECT_EQ(list.GetCount(), 11);

    while (!list.IsEmpty()) {
        list.RemoveTail();
    }
    EXPECT_EQ(list.GetBlockCount(), 0);
}

TEST(PlexList, KeepsInsertionOrderAndFindsIndicesFromTheHead) {
    CList<int*, int*> list;
    int a = 1, b = 2, c = 3;
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&c);
    EXPECT_EQ(list.GetAt(list.FindIndex(0)), &a);
    EXPECT_EQ(list.GetAt(list.FindIndex(2)), &c);
    EXPECT_EQ(list.FindIndex(3), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    EXPECT_EQ(list.GetAt(list.FindIndex(1)), &b);
}

TEST(CriticalSection, ScopedLockIsReleasedWhenAnExceptionLeavesTheScope) {
    CCriticalSection cs;
    try {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        throw -1;
    } catch (int) {
    }
    std::thread other([&cs] {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
    });
    other.join();
}

TEST(CString, LoadsFromTheApplicationStringTableAndKeepsValueSemantics) {
    static const STRINGRESOURCE kStrings[] = {{7, "seven"}, {101, "ぽよるん"}};
    AfxSetStringTable(kStrings, 2);
    CString str("before");
    EXPECT_TRUE(str.LoadString(101));
    EXPECT_EQ(str, "ぽよるん");
    EXPECT_EQ(str.GetLength(), 12);  // UTF-8 bytes

    CString copy = str;
    copy.LoadString(7);
    EXPECT_EQ(copy, "seven");
    EXPECT_EQ(str, "ぽよるん");

    EXPECT_FALSE(str.LoadString(8));
    EXPECT_EQ(str, "ぽよるん");
    AfxSetStringTable(nullptr, 0);
    EXPECT_FALSE(str.LoadString(7));
}

}  // namespace
