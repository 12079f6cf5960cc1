#include "app/game_app.h"
#include "platform/sdl/platform.h"

// The one application object.
CGameApp theApp;

int main() {
    return AfxWinMain();
}
