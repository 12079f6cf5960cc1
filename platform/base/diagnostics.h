// The program's name, and the one way it says something on standard error: one line,
// "<program>: <text>", as command-line tools on Unix do.
#pragma once

#include <initializer_list>
#include <string>

// The program's name, as the build gives it.
const char* AfxGetProgramName();
// pszText with its "%s" filled in by values, in order: how a translated line takes what it
// names, wherever the translation puts it.
std::string AfxFormat(const char* pszText, std::initializer_list<std::string> values);
// Writes "<program>: <text>" and a newline to standard error, in one piece.
void AfxWarn(const std::string& strText);
