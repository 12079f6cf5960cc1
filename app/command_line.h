// What the command line asks for before any window opens.
#pragma once

#include <cstdio>
#include <optional>

// --help prints the usage and --version the program's name and version, to out; either ends
// the program with the answered status. Every other argument is ignored, and the answer is
// then empty: the game starts.
std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out);
