// A gettext catalogue (.mo file) read by the program itself, where there is no gettext (on
// Windows): the singular messages and their translations. Plain C++.
#pragma once

#include <map>
#include <string>

class CMoCatalog {
public:
    // Reads the catalogue at strPath (UTF-8); false, leaving the catalogue empty, when the file
    // is missing or is no catalogue of either byte order.
    bool Load(const std::string& strPath);
    // The translation of pszText, or null when the catalogue has none.
    const char* Find(const char* pszText) const;
    bool IsEmpty() const { return m_messages.empty(); }

private:
    std::map<std::string, std::string> m_messages;
};
