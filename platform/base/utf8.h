// Walking UTF-8 text, which all of the platform's text is: where a character starts, how long
// it is, and which it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How many bytes the character that starts with lead takes: 1 to 4.
std::size_t Utf8Length(unsigned char lead);
// The code point of the character that starts at str[i]; a character cut short by the end of
// the text is read as far as it goes.
std::uint32_t DecodeUtf8(const std::string& str, std::size_t i);
// Where the last character of the non-empty str starts.
std::size_t LastUtf8CharAt(const std::string& str);
