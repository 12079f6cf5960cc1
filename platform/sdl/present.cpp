// A window's pixels, and putting them on the screen.
#include "platform/gdi/pixels.h"
#include "platform/sdl/sdl_screen.h"

namespace {

// The pixels of a window shown through its own renderer, made anew with the renderer's size.
SDL_Surface* RendererPixels(HSCREEN hScreen) {
    int cx = 0, cy = 0;
    SDL_GetRendererOutputSize(hScreen->pRenderer, &cx, &cy);
    SDL_Surface*& pPixels = hScreen->pPixels;
    if (pPixels == nullptr || pPixels->w != cx || pPixels->h != cy) {
        SDL_FreeSurface(pPixels);
        SDL_DestroyTexture(hScreen->pTexture);
        pPixels = SDL_CreateRGBSurfaceWithFormat(0, cx, cy, 32, SDL_PIXELFORMAT_XRGB8888);
        hScreen->pTexture = SDL_CreateTexture(hScreen->pRenderer, SDL_PIXELFORMAT_XRGB8888,
                                              SDL_TEXTUREACCESS_STREAMING, cx, cy);
        // The texture starts as the new pixels are, so that a paint only sends what it changed.
        if (pPixels != nullptr && hScreen->pTexture != nullptr) {
            SDL_UpdateTexture(hScreen->pTexture, nullptr, pPixels->pixels, pPixels->pitch);
        }
    }
    return hScreen->pTexture != nullptr ? pPixels : nullptr;
}

// Puts the part rc of a window's own pixels into its texture, and shows the whole frame.
void PresentThroughRenderer(HSCREEN hScreen, const SDL_Rect* pRect) {
    const SDL_Surface* pPixels = hScreen->pPixels;
    if (pPixels == nullptr || hScreen->pTexture == nullptr) {
        return;
    }
    SDL_Rect rc{0, 0, pPixels->w, pPixels->h};
    if (pRect != nullptr && !pixels::Intersect(*pRect, rc, &rc)) {
        return;
    }
    const auto* pFirst = static_cast<const Uint8*>(pPixels->pixels) + rc.y * pPixels->pitch +
                         rc.x * pPixels->format->BytesPerPixel;
    SDL_UpdateTexture(hScreen->pTexture, &rc, pFirst, pPixels->pitch);
    // The texture holds the whole frame, so the renderer's buffers never show a stale one.
    SDL_RenderCopy(hScreen->pRenderer, hScreen->pTexture, nullptr, nullptr);
    SDL_RenderPresent(hScreen->pRenderer);
}

}  // namespace

HSURFACE CSdlScreen::Surface(HSCREEN hScreen) {
    hScreen->surface.pSurface = hScreen->pRenderer != nullptr
                                    ? RendererPixels(hScreen)
                                    : SDL_GetWindowSurface(hScreen->pWindow);
    return hScreen->surface.pSurface != nullptr ? &hScreen->surface : nullptr;
}

void CSdlScreen::Present(HSCREEN hScreen, const RECT* prc) {
    m_bShown = true;
    const SDL_Rect rc = prc != nullptr ? pixels::ToSdl(*prc) : SDL_Rect{0, 0, 0, 0};
    const SDL_Rect* pRect = prc != nullptr ? &rc : nullptr;
    if (hScreen->pRenderer != nullptr) {
        PresentThroughRenderer(hScreen, pRect);
    } else {
        // A window's SDL surface goes to the screen whole, whatever part was painted. A
        // compositing window manager may leave a frame unseen (mutter does, now and then, under
        // load), and what is painted next is often only a part of the window: during a run the
        // board, so that a Stop button drawn once at the start would stay missing for the whole
        // run. Sending the whole window each time lets the next frame repair whatever was missed,
        // at the cost of the pixels round the board.
        SDL_UpdateWindowSurface(hScreen->pWindow);
    }
}
