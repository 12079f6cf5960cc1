#include "app/game_app.h"

// The one application object.
CGameApp theApp;

int main() {
    return AfxWinMain();
}
