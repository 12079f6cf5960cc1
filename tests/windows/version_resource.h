// The raw version resource of a program, as Windows hands it out. Plain C++ types: the one
// file that implements it includes Windows' headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of the VS_VERSIONINFO block of the program at strPath; empty when it has none.
std::vector<std::uint8_t> ReadVersionResource(const std::string& strPath);
