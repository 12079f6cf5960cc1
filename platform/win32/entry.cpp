// The program's entry point on Windows: the command line in UTF-8, and a console for what the
// program prints when it was started from one. The manifest (app/windows/) makes the program
// aware of each monitor's DPI and its narrow text UTF-8.

// windows.h first: the headers beside it need its types.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/base/system_text.h"

int AfxProgramMain(int argc, char** argv);

namespace {

// A program of the GUI subsystem has no console of its own: --help and --version, and the
// one-line errors, go to the console of whoever started it, if there is one and standard
// output is not already sent elsewhere.
void UseParentConsole() {
    const HANDLE hOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((hOutput == nullptr || hOutput == INVALID_HANDLE_VALUE) &&
        AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*pszCmdLine*/,
                    int /*nCmdShow*/) {
    UseParentConsole();
    int argc = 0;
    LPWSTR* pArgs = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(AfxUtf8FromSystem(pArgs[i]));
    }
    LocalFree(pArgs);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    return AfxProgramMain(argc, argv.data());
}
