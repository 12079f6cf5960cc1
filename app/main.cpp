#include <cstdio>

#include "app/command_line.h"
#include "app/game_app.h"
#include "platform/platform.h"

// The one application object.
CGameApp theApp;

int AfxProgramMain(int argc, char** argv) {
    if (const auto nStatus = HandleCommandLine(argc, argv, stdout, stderr)) {
        return *nStatus;
    }
    return AfxWinMain();
}
