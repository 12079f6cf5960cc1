#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "model/locked_list.h"

namespace {

// Records the order in which elements are destroyed.
struct Tracked {
    static std::vector<int>* s_pDeleted;
    static int s_nNextId;
    int nId = s_nNextId++;
    ~Tracked() { s_pDeleted->push_back(nId); }
};
std::vector<int>* Tracked::s_pDeleted = nullptr;
int Tracked::s_nNextId = 0;

class LockedListTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tracked::s_pDeleted = &m_deleted;
        Tracked::s_nNextId = 0;
    }
    std::vector<int> m_deleted;
};

TEST_F(LockedListTest, ANewListIsEmpty) {
    CLockedList<Tracked> list;
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetAt(0), nullptr);
    list.RemoveAll();
    EXPECT_TRUE(m_deleted.empty());
    EXPECT_EQ(list.GetBlockCount(), 0);
}

TEST_F(LockedListTest, ElementsKeepInsertionOrderAndOutOfRangeIndicesAreNull) {
    CLockedList<Tracked> list;
    Tracked* a = list.AddNew();
    Tracked* b = list.AddNew();
    Tracked* c = list.AddNew();
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetAt(0), a);
    EXPECT_EQ(list.GetAt(1), b);
    EXPECT_EQ(list.GetAt(2), c);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    list.RemoveAll();
}

TEST_F(LockedListTest, RemoveAllDeletesNewestFirstAndReleasesEveryBlock) {
    CLockedList<Tracked> list;
    list.AddNew();
    list.AddNew();
    list.AddNew();
    list.RemoveAll();
    EXPECT_EQ(m_deleted, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetBlockCount(), 0);
}

TEST_F(LockedListTest, TheEleventhElementTakesASecondBlock) {
    CLockedList<Tracked> list;
    for (int i = 1; i <= 10; ++i) {
        list.AddNew();
        EXPECT_EQ(list.GetBlockCount(), 1) << i << " elements";
    }
    list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 2);
    list.RemoveAll();
    EXPECT_EQ(list.GetBlockCount(), 0);
    EXPECT_EQ(m_deleted.size(), 11u);

    // The list is usable again after it released its storage.
    list.AddNew();
    EXPECT_EQ(list.GetBlockCount(), 1);
    list.RemoveAll();
}

TEST_F(LockedListTest, ReadAtSeesTheElementOnlyWhileItExists) {
    CLockedList<Tracked> list;
    list.AddNew();
    int nSeen = -1;
    EXPECT_TRUE(list.ReadAt(0, [&nSeen](Tracked& t) { nSeen = t.nId; }));
    EXPECT_EQ(nSeen, 0);
    EXPECT_FALSE(list.ReadAt(1, [&nSeen](Tracked&) { nSeen = 99; }));
    list.RemoveAll();
    EXPECT_FALSE(list.ReadAt(0, [&nSeen](Tracked&) { nSeen = 99; }));
    EXPECT_EQ(nSeen, 0);
}

struct Throwing {
    static bool s_bThrow;
    Throwing() {
        if (s_bThrow) {
            throw std::bad_alloc();
        }
    }
};
bool Throwing::s_bThrow = false;

TEST(LockedList, AFailedAllocationAppendsNothingAndReleasesTheLock) {
    CLockedList<Throwing> list;
    list.AddNew();
    Throwing::s_bThrow = true;
    EXPECT_THROW(list.AddNew(), std::bad_alloc);
    Throwing::s_bThrow = false;
    EXPECT_EQ(list.GetCount(), 1);
    std::thread other([&list] { list.AddNew(); });  // would block for ever on a held lock
    other.join();
    EXPECT_EQ(list.GetCount(), 2);
    list.RemoveAll();
}

TEST(LockedList, IntegerElementsStartAtZero) {
    CLockedList<int> list;
    *list.AddNew() = 7;
    EXPECT_EQ(*list.GetAt(0), 7);
    EXPECT_EQ(*list.AddNew(), 0);
    list.RemoveAll();
}

}  // namespace
