#include "platform/window/msg_map.h"

namespace {

const AFX_MSGMAP_ENTRY kNoEntries[] = {{0, 0, nullptr}};

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP s_map = {nullptr, kNoEntries};
    return &s_map;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nID) const {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnDispatch != nullptr;
             ++pEntry) {
            if (pEntry->nMessage == nMessage && (nMessage != WM_COMMAND || pEntry->nID == nID)) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nID);
    if (pEntry == nullptr) {
        return FALSE;
    }
    pEntry->pfnDispatch(this, nID, 0);
    return TRUE;
}
