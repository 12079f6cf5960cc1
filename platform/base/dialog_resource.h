// Dialog templates, laid out in dialog units, as the application hands them over, and the
// window and control styles they use.
#pragma once

#include "platform/base/win_types.h"

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_SUNKEN = 0x1000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;

// One control of a template. The rectangle is x, y, width, height in dialog units.
struct DLGITEMTEMPLATE {
    int nID;
    const char* pszClass;  // "static" or "button"
    const char* pszText;
    short x;
    short y;
    short cx;
    short cy;
    DWORD dwStyle;
};

struct DLGTEMPLATE {
    UINT nID;
    short cx;
    short cy;
    const char* pszCaption;
    const char* pszFaceName;
    int nPointSize;  // points
    DWORD dwStyle;
    const DLGITEMTEMPLATE* pItems;
    int nItems;
    // A dialog in several languages has a template for each; the user's is made.
    LANGID wLanguage = 0;
};

// The application's dialog templates, handed over once before any dialog is made.
void AfxSetDialogTemplates(const DLGTEMPLATE* const* ppTemplates, int nCount);
// The template with that ID in the user's language; null when there is none.
const DLGTEMPLATE* AfxFindDialogTemplate(UINT nID);
