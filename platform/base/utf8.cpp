#include "platform/base/utf8.h"

#include <algorithm>

namespace {

constexpr unsigned char kFourByteLead = 0xF0;
constexpr unsigned char kThreeByteLead = 0xE0;
constexpr unsigned char kTwoByteLead = 0xC0;
// A byte that continues a character: 10xxxxxx.
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;
constexpr unsigned char kContinuationBits = 0x3F;

}  // namespace

std::size_t Utf8Length(unsigned char lead) {
    if (lead >= kFourByteLead) {
        return 4;
    }
    if (lead >= kThreeByteLead) {
        return 3;
    }
    return lead >= kTwoByteLead ? 2 : 1;
}

std::uint32_t DecodeUtf8(const std::string& str, std::size_t i) {
    const auto lead = static_cast<unsigned char>(str[i]);
    const std::size_t nLength = std::min(Utf8Length(lead), str.size() - i);
    if (nLength == 1) {
        return lead;
    }
    std::uint32_t ch = lead & (0xFF >> (nLength + 1));
    for (std::size_t k = 1; k < nLength; ++k) {
        ch = (ch << 6) | (static_cast<unsigned char>(str[i + k]) & kContinuationBits);
    }
    return ch;
}

std::size_t LastUtf8CharAt(const std::string& str) {
    std::size_t nLast = str.size() - 1;
    while (nLast > 0 &&
           (static_cast<unsigned char>(str[nLast]) & kContinuationMask) == kContinuation) {
        --nLast;
    }
    return nLast;
}
