// CString: MFC's text value type. Text is UTF-8, which is this platform's ANSI code page.
#pragma once

#include <string>

#include "platform/base/win_types.h"

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz != nullptr ? psz : "") {}
    CString(std::string str) : m_str(std::move(str)) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    operator const char*() const { return m_str.c_str(); }
    const std::string& GetString() const { return m_str; }

    // Loads string nID of the application's string table; leaves the text alone and answers
    // FALSE when there is no such string.
    BOOL LoadString(UINT nID);

    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

private:
    std::string m_str;
};

// The application's string table: a list of (ID, text) pairs that the application hands to
// the platform once, before anything loads a string.
struct STRINGRESOURCE {
    UINT nID;
    const char* pszText;
    // A string in several languages has an entry for each; LoadString takes the user's.
    LANGID wLanguage = 0;
};

void AfxSetStringTable(const STRINGRESOURCE* pTable, int nCount);
