// The floor for the game's start-up: the least that an SDL2 + SDL2_ttf + fontconfig program
// does to show the game's title. One SDL window of the game's size at 96 DPI, the Gothic face
// matched through fontconfig and opened with SDL_ttf, the title drawn in red on black through
// the window's surface in plain memory, and then a wait for events until the window is
// closed. D-Bus's autolaunch is off, as the game sets it when there is no session bus.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 407;
constexpr int kHeight = 245;
constexpr const char* kTitle = "ぽよるん";
constexpr const char* kFamily = "IPAGothic";
constexpr int kPixels = 53;  // 40 points at 96 DPI
constexpr SDL_Color kRed{204, 0, 0, 255};

std::string GothicFile() {
    FcPattern* pPattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFamily));
    FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
    FcDefaultSubstitute(pPattern);
    FcResult result;
    FcPattern* pMatch = FcFontMatch(nullptr, pPattern, &result);
    FcChar8* pszFile = nullptr;
    std::string strFile;
    if (pMatch != nullptr && FcPatternGetString(pMatch, FC_FILE, 0, &pszFile) == FcResultMatch) {
        strFile = reinterpret_cast<const char*>(pszFile);
    }
    FcPatternDestroy(pMatch);
    FcPatternDestroy(pPattern);
    return strFile;
}

}  // namespace

int main() {
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    }
    // The window's surface in plain memory, as the game has it: otherwise SDL would show it
    // through an OpenGL renderer, and load a GL driver to copy the same pixels.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) {
        return 1;
    }
    SDL_Window* pWindow = SDL_CreateWindow("Hoplin", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                           kWidth, kHeight, 0);
    TTF_Font* pFont = TTF_OpenFont(GothicFile().c_str(), kPixels);
    SDL_Surface* pSurface = pWindow != nullptr ? SDL_GetWindowSurface(pWindow) : nullptr;
    if (pFont == nullptr || pSurface == nullptr) {
        return 1;
    }
    SDL_FillRect(pSurface, nullptr, SDL_MapRGB(pSurface->format, 0, 0, 0));
    SDL_Surface* pText = TTF_RenderUTF8_Blended(pFont, kTitle, kRed);
    SDL_Rect at{(kWidth - pText->w) / 2, (kHeight - pText->h) / 2, pText->w, pText->h};
    SDL_BlitSurface(pText, nullptr, pSurface, &at);
    SDL_UpdateWindowSurface(pWindow);
    SDL_Event event;
    while (SDL_WaitEvent(&event) != 0 && event.type != SDL_QUIT) {
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED) {
            SDL_UpdateWindowSurface(pWindow);
        }
    }
    SDL_FreeSurface(pText);
    TTF_CloseFont(pFont);
    TTF_Quit();
    SDL_Quit();
    return 0;
}
