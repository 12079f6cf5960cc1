// A window's pixels, and putting them on the screen.
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

PixelBuffer BufferOf(SDL_Surface* pSurface) {
    return PixelBuffer{pSurface->w, pSurface->h, pSurface->pitch,
                       static_cast<std::uint32_t*>(pSurface->pixels)};
}

// The pixels that the window's paint contexts draw on: the shown surface's own when they are
// the platform's kind, as they are on 24- and 32-bit displays, or else pixels of the window's
// that Present converts.
PixelBuffer PaintPixels(HSCREEN hScreen, SDL_Surface* pShown) {
    hScreen->bConverted = pShown->format->format != SDL_PIXELFORMAT_XRGB8888;
    if (!hScreen->bConverted) {
        return BufferOf(pShown);
    }
    const size_t nWanted = static_cast<size_t>(pShown->w) * static_cast<size_t>(pShown->h);
    if (hScreen->converted.size() != nWanted) {
        hScreen->converted.assign(nWanted, 0);
    }
    return PixelBuffer{pShown->w, pShown->h, pShown->w * static_cast<int>(sizeof(std::uint32_t)),
                       hScreen->converted.data()};
}

// Puts the part rc of a window's own pixels into its texture, and shows the whole frame.
void PresentThroughRenderer(HSCREEN hScreen, const RECT* prc) {
    const SDL_Surface* pPixels = hScreen->pPixels;
    if (pPixels == nullptr || hScreen->pTexture == nullptr) {
        return;
    }
    RECT rc{0, 0, pPixels->w, pPixels->h};
    if (prc != nullptr && !IntersectRect(&rc, &rc, prc)) {
        return;
    }
    const SDL_Rect rcSent{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    const auto* pFirst = static_cast<const Uint8*>(pPixels->pixels) + rc.top * pPixels->pitch +
                         rc.left * pPixels->format->BytesPerPixel;
    SDL_UpdateTexture(hScreen->pTexture, &rcSent, pFirst, pPixels->pitch);
    // The texture holds the whole frame, so the renderer's buffers never show a stale one.
    SDL_RenderCopy(hScreen->pRenderer, hScreen->pTexture, nullptr, nullptr);
    SDL_RenderPresent(hScreen->pRenderer);
}

// Converts the window's pixels into the shown surface's kind.
void ConvertForWindow(HSCREEN hScreen) {
    SDL_Surface* pShown = SDL_GetWindowSurface(hScreen->pWindow);
    const PixelBuffer& painted = hScreen->surface.pixels;
    if (pShown == nullptr || pShown->w != painted.cx || pShown->h != painted.cy) {
        return;
    }
    SDL_ConvertPixels(painted.cx, painted.cy, SDL_PIXELFORMAT_XRGB8888, painted.pPixels,
                      painted.nPitch, pShown->format->format, pShown->pixels, pShown->pitch);
}

}  // namespace

HSURFACE CSdlScreen::Surface(HSCREEN hScreen) {
    SDL_Surface* pShown = hScreen->pRenderer != nullptr ? RendererPixels(hScreen)
                                                        : SDL_GetWindowSurface(hScreen->pWindow);
    if (pShown == nullptr) {
        return nullptr;
    }
    hScreen->surface.pixels = PaintPixels(hScreen, pShown);
    return &hScreen->surface;
}

void CSdlScreen::Present(HSCREEN hScreen, const RECT* prc) {
    m_bShown = true;
    if (hScreen->pRenderer != nullptr) {
        PresentThroughRenderer(hScreen, prc);
        return;
    }
    if (hScreen->bConverted) {
        ConvertForWindow(hScreen);
    }
    // A window's SDL surface goes to the screen whole, whatever part was painted. A
    // compositing window manager may leave a frame unseen (mutter does, now and then, under
    // load), and what is painted next is often only a part of the window: during a run the
    // board, so that a Stop button drawn once at the start would stay missing for the whole
    // run. Sending the whole window each time lets the next frame repair whatever was missed,
    // at the cost of the pixels round the board.
    SDL_UpdateWindowSurface(hScreen->pWindow);
}
