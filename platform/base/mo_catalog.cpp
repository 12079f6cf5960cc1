#include "platform/base/mo_catalog.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// The header: magic, revision, count, where the originals' table and the translations' start.
constexpr std::uint32_t kMagic = 0x950412DE;
constexpr std::uint32_t kMagicSwapped = 0xDE120495;
constexpr size_t kHeaderWords = 5;
constexpr size_t kCountWord = 2;
constexpr size_t kOriginalsWord = 3;
constexpr size_t kTranslationsWord = 4;
// Each table entry: a string's length, then its offset.
constexpr size_t kEntryBytes = 8;
// What separates a message's context from it, and its singular from its plural.
constexpr char kContextEnd = '\x04';

std::vector<unsigned char> ReadFile(const std::string& strPath) {
    std::vector<unsigned char> bytes;
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == nullptr) {
        return bytes;
    }
    unsigned char buffer[4096];
    size_t nRead = 0;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pFile)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + nRead);
    }
    std::fclose(pFile);
    return bytes;
}

class CReader {
public:
    CReader(const std::vector<unsigned char>& bytes, bool bSwapped)
        : m_bytes(bytes), m_bSwapped(bSwapped) {}

    bool Word(size_t nAt, std::uint32_t* pn) const {
        if (nAt + 4 > m_bytes.size()) {
            return false;
        }
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t nByte = m_bytes[nAt + (m_bSwapped ? i : 3 - i)];
            n = (n << 8) | nByte;
        }
        *pn = n;
        return true;
    }

    // The string that the table entry at nAt describes.
    bool String(size_t nAt, std::string* pstr) const {
        std::uint32_t nLength = 0, nOffset = 0;
        if (!Word(nAt, &nLength) || !Word(nAt + 4, &nOffset) ||
            static_cast<size_t>(nOffset) + nLength > m_bytes.size()) {
            return false;
        }
        pstr->assign(reinterpret_cast<const char*>(m_bytes.data()) + nOffset, nLength);
        return true;
    }

private:
    const std::vector<unsigned char>& m_bytes;
    bool m_bSwapped;
};

}  // namespace

bool CMoCatalog::Load(const std::string& strPath) {
    m_messages.clear();
    const std::vector<unsigned char> bytes = ReadFile(strPath);
    std::uint32_t nMagic = 0;
    if (!CReader(bytes, false).Word(0, &nMagic) || (nMagic != kMagic && nMagic != kMagicSwapped)) {
        return false;
    }
    const CReader reader(bytes, nMagic == kMagicSwapped);
    std::uint32_t header[kHeaderWords] = {};
    for (size_t i = 0; i < kHeaderWords; ++i) {
        if (!reader.Word(4 * i, &header[i])) {
            return false;
        }
    }
    std::map<std::string, std::string> messages;
    for (std::uint32_t i = 0; i < header[kCountWord]; ++i) {
        std::string strOriginal, strTranslation;
        if (!reader.String(header[kOriginalsWord] + i * kEntryBytes, &strOriginal) ||
            !reader.String(header[kTranslationsWord] + i * kEntryBytes, &strTranslation)) {
            return false;
        }
        // The header entry (empty original) and messages with a context are not the
        // program's; of a plural, the singular forms are kept.
        if (!strOriginal.empty() && strOriginal.find(kContextEnd) == std::string::npos) {
            messages[strOriginal.substr(0, strOriginal.find('\0'))] =
                strTranslation.substr(0, strTranslation.find('\0'));
        }
    }
    m_messages = std::move(messages);
    return true;
}

const char* CMoCatalog::Find(const char* pszText) const {
    const auto it = m_messages.find(pszText);
    return it != m_messages.end() && !it->second.empty() ? it->second.c_str() : nullptr;
}
