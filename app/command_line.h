// What the command line asks for before any window opens.
#pragma once

#include <cstdio>
#include <optional>

// --help (-h) prints the usage and --version (-v) the program's name and version, to out, and
// the program ends with status 0. Any other argument is refused: "<program>: unknown option
// '<argument>'" and the usage line go to err, and the program ends with status 2. Without
// arguments the answer is empty: the game starts.
std::optional<int> HandleCommandLine(int argc, const char* const* argv, std::FILE* out,
                                     std::FILE* err);
