#include <new>

#include "platform/base/plex_list.h"

CPlex* CPlex::Create(CPlex*& pHead, UINT nMax, UINT cbElement) {
    auto* p = static_cast<CPlex*>(::operator new (sizeof(CPlex) + std::size_t{nMax} * cbElement));
    p->pNext = pHead;
    pHead = p;
    return p;
}

void CPlex::FreeDataChain() {
    CPlex* p = this;
    while (p != nullptr) {
        CPlex* pNext = p->pNext;
        ::operator delete(p);
        p = pNext;
    }
}
