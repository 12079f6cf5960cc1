// CPlex and CList: a doubly linked list of pointers whose nodes are pooled in blocks.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>

#include "platform/base/win_types.h"

// One block of node storage. Blocks form a chain that is released all at once.
struct CPlex {
    CPlex* pNext;

    void* data() { return this + 1; }

    // Allocates a block with room for nMax elements of cbElement bytes and puts it at the
    // head of the chain. An allocation failure throws std::bad_alloc.
    static CPlex* Create(CPlex*& pHead, UINT nMax, UINT cbElement);
    // Releases this block and every block after it.
    void FreeDataChain();
};

struct POSITION_t;
using POSITION = POSITION_t*;

// Nodes come from blocks of kBlockSize; removed nodes go to a free list and are reused
// before a new block is allocated, and every block is released when the list becomes empty.
// GetCount may be read from another thread without the caller's lock.
template <class TYPE, class ARG_TYPE = TYPE>
class CList {
    static_assert(std::is_pointer<TYPE>::value, "CList holds pointers only");

public:
    static constexpr UINT kBlockSize = 10;

    CList() = default;
    ~CList() { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    int GetCount() const { return m_nCount.load(); }
    BOOL IsEmpty() const { return GetCount() == 0; }

    POSITION AddTail(ARG_TYPE newElement) {
        CNode* pNewNode = NewNode(m_pNodeTail, nullptr);
        pNewNode->data = newElement;
        if (m_pNodeTail != nullptr) {
            m_pNodeTail->pNext = pNewNode;
        } else {
            m_pNodeHead = pNewNode;
        }
        m_pNodeTail = pNewNode;
        return ToPosition(pNewNode);
    }

    // The list must not be empty.
    TYPE RemoveTail() {
        CNode* pOldNode = m_pNodeTail;
        TYPE returnValue = pOldNode->data;
        m_pNodeTail = pOldNode->pPrev;
        if (m_pNodeTail != nullptr) {
            m_pNodeTail->pNext = nullptr;
        } else {
            m_pNodeHead = nullptr;
        }
        FreeNode(pOldNode);
        return returnValue;
    }

    void RemoveAll() {
        m_pNodeHead = m_pNodeTail = nullptr;
        m_pNodeFree = nullptr;
        m_nCount.store(0);
        if (m_pBlocks != nullptr) {
            m_pBlocks->FreeDataChain();
            m_pBlocks = nullptr;
        }
    }

    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }

    // The position of element nIndex, walking from the head; null outside 0 ... count - 1.
    POSITION FindIndex(int nIndex) const {
        if (nIndex < 0 || nIndex >= GetCount()) {
            return nullptr;
        }
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0) {
            pNode = pNode->pNext;
        }
        return ToPosition(pNode);
    }

    // How many node blocks the list holds now.
    int GetBlockCount() const {
        int nBlocks = 0;
        for (const CPlex* p = m_pBlocks; p != nullptr; p = p->pNext) {
            ++nBlocks;
        }
        return nBlocks;
    }

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };
    static_assert(std::is_trivially_destructible<CNode>::value, "nodes live in raw blocks");

    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* FromPosition(POSITION position) { return reinterpret_cast<CNode*>(position); }

    CNode* NewNode(CNode* pPrev, CNode* pNext) {
        if (m_pNodeFree == nullptr) {
            CPlex* pNewBlock = CPlex::Create(m_pBlocks, kBlockSize, sizeof(CNode));
            // Thread the new block's nodes onto the free list, last node first.
            CNode* pNode = static_cast<CNode*>(pNewBlock->data()) + (kBlockSize - 1);
            for (int i = kBlockSize - 1; i >= 0; --i, --pNode) {
                pNode->pNext = m_pNodeFree;
                m_pNodeFree = pNode;
            }
        }
        CNode* pNode = m_pNodeFree;
        m_pNodeFree = m_pNodeFree->pNext;
        pNode->pPrev = pPrev;
        pNode->pNext = pNext;
        pNode->data = nullptr;
        m_nCount.fetch_add(1);
        return pNode;
    }

    void FreeNode(CNode* pNode) {
        pNode->pNext = m_pNodeFree;
        m_pNodeFree = pNode;
        if (m_nCount.fetch_sub(1) == 1) {
            RemoveAll();
        }
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    CNode* m_pNodeFree = nullptr;
    CPlex* m_pBlocks = nullptr;
    std::atomic<int> m_nCount{0};
};
