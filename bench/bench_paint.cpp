// Frame times of the field's painting at the main dialog's layout, against the least that any
// frame costs: filling the board and copying it to the client area with raw SDL calls.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/cstring.h"
#include "platform/dc.h"
#include "render/colours.h"
#include "render/field_view.h"
#include "render/game_field.h"
#include "tests/render/dialog_layout.h"

namespace {

// A fixed seed gives every run the same course, so runs compare.
constexpr unsigned kCourseSeed = 42;
constexpr int kObstacleCount = 5;
// Ticks after the jump: the jumper is near the top of its arc, clear of the ground.
constexpr int kTicksIntoJump = 3;

// The first paint makes the back buffers; it is done here so that only steady frames count.
void PaintFrames(benchmark::State& state, CGameField& field) {
    testing_layout::CClientSurface client(testing_layout::ClientSize());
    // During a game the status label is empty; the title screen draws no status.
    const CString strStatus("");
    field.Paint(&client.DC(), strStatus);
    for (auto _ : state) {
        field.Paint(&client.DC(), strStatus);
        benchmark::ClobberMemory();
    }
}

void BM_PaintTitle(benchmark::State& state) {
    CGameField field;
    testing_layout::LayOut(field);
    field.m_nMode = CFieldView::kModeTitle;
    PaintFrames(state, field);
}

void BM_PaintPlaying(benchmark::State& state) {
    CGameField field;
    // LayOut also sets the dialog's goal, over which the obstacles are scattered.
    testing_layout::LayOut(field);
    std::srand(kCourseSeed);
    field.ScatterObstacles(kObstacleCount);
    field.ResetJumper();
    field.Jump();
    for (int i = 0; i < kTicksIntoJump; ++i) {
        field.StepJumper();
    }
    field.m_nMode = CFieldView::kModePlaying;
    PaintFrames(state, field);
}

// In the pixel format of the platform's bitmaps, so that blits need no conversion.
SDL_Surface* CreateClientSurface() {
    const SIZE size = testing_layout::ClientSize();
    return SDL_CreateRGBSurfaceWithFormat(0, size.cx, size.cy, 32, SDL_PIXELFORMAT_XRGB8888);
}

// The same pixel work as a frame's board, with none of the drawing layers above SDL.
void BM_RawSdlBoard(benchmark::State& state) {
    CGameField field;
    testing_layout::LayOut(field);
    const RECT& rcBoard = field.m_rcBoard;
    const SDL_Rect rcArea{rcBoard.left, rcBoard.top, rcBoard.right - rcBoard.left,
                          rcBoard.bottom - rcBoard.top};
    SDL_Surface* pBuffer = CreateClientSurface();
    SDL_Surface* pClient = CreateClientSurface();
    if (pBuffer == nullptr || pClient == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        SDL_SetSurfaceBlendMode(pBuffer, SDL_BLENDMODE_NONE);
        const COLORREF crBoard = colours::kBlack;
        const Uint32 nBoard =
            SDL_MapRGB(pBuffer->format, GetRValue(crBoard), GetGValue(crBoard), GetBValue(crBoard));
        for (auto _ : state) {
            SDL_FillRect(pBuffer, &rcArea, nBoard);
            // SDL_BlitSurface writes the clipped destination back, so each frame gets a copy.
            SDL_Rect rcSource = rcArea;
            SDL_Rect rcDest = rcArea;
            SDL_BlitSurface(pBuffer, &rcSource, pClient, &rcDest);
            benchmark::ClobberMemory();
        }
    }
    SDL_FreeSurface(pClient);
    SDL_FreeSurface(pBuffer);
}

}  // namespace

BENCHMARK(BM_PaintTitle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPlaying)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawSdlBoard)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
