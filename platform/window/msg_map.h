// Message maps: one static table per class, chained to its base class's table.
#pragma once

#include "platform/base/win_types.h"
#include "platform/window/messages.h"

class CCmdTarget;

// Calls one handler with the message's parameters unpacked as its signature wants.
using AFX_DISPATCH = LRESULT (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nID;  // for WM_COMMAND: the command; otherwise 0
    AFX_DISPATCH pfnDispatch;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;  // ends with an entry whose pfnDispatch is null
};

// Anything that receives commands through a message map.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // The first handler for the message in this class's map or its bases', or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nID) const;
    // Routes a command to its handler; answers FALSE when no map has one.
    BOOL OnCmdMsg(UINT nID);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override { \
        return GetThisMessageMap();                    \
    }

// The entries are captureless lambdas in the class's scope, so they may call protected
// handlers.
// The formatter cannot read a table entry in a macro.
// clang-format off
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {            \
        using ThisClass = theClass;                              \
        using TheBaseClass = baseClass;                          \
        static const AFX_MSGMAP_ENTRY s_entries[] = {
#define END_MESSAGE_MAP()                                                   \
    {0, 0, nullptr}                                                         \
    }                                                                       \
    ;                                                                       \
    static const AFX_MSGMAP s_map = {&TheBaseClass::GetThisMessageMap, s_entries}; \
    return &s_map;                                                          \
    }

#define AFX_HANDLER(body) \
    [](CCmdTarget * pTarget, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        auto* pThis = static_cast<ThisClass*>(pTarget);                 \
        (void)pThis;                                                    \
        (void)wParam;                                                   \
        (void)lParam;                                                   \
        body;                                                           \
    }

#define ON_COMMAND(id, memberFxn) {WM_COMMAND, (id), AFX_HANDLER(pThis->memberFxn(); return 0)},
#define ON_WM_PAINT() {WM_PAINT, 0, AFX_HANDLER(pThis->OnPaint(); return 0)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, AFX_HANDLER(pThis->OnClose(); return 0)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, AFX_HANDLER(pThis->OnTimer(static_cast<UINT>(wParam)); return 0)},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, AFX_HANDLER(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, AFX_HANDLER(return reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon()))},
#define AFX_MOUSE_HANDLER(message, memberFxn)                                               \
    {message, 0,                                                                            \
     AFX_HANDLER(pThis->memberFxn(static_cast<UINT>(wParam),                                \
                                  CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));      \
                 return 0)},
#define ON_WM_LBUTTONUP() AFX_MOUSE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_KEYDOWN() \
    {WM_KEYDOWN, 0, AFX_HANDLER(pThis->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0)},
#define ON_MESSAGE(message, memberFxn) {message, 0, AFX_HANDLER(return pThis->memberFxn(wParam, lParam))},
// clang-format on
