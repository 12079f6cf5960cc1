// Frame times of the field's painting at the main dialog's layout, at 96 and at 192 DPI,
// against the floor that any frame has to pay: filling the board's rows and copying them to
// the client area with plain memset and memcpy. The raw SDL fill and blit of the same rows is
// measured beside it. The report is Google Benchmark's own, in the format its flags choose;
// after it, each benchmark's ratio to the floor at its DPI goes to stderr, so that a JSON or CSV
// report on stdout stays whole.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/dpi.h"
#include "platform/gdi/dc.h"
#include "platform/sdl/ttf_rasterizer.h"
#include "render/colours.h"
#include "render/field_view.h"
#include "render/game_field.h"
#include "tests/render/dialog_layout.h"
#include "tests/support/dpi_scope.h"

namespace {

// A fixed seed gives every run the same course, so runs compare.
constexpr unsigned kCourseSeed = 42;
constexpr int kObstacleCount = 5;
// Ticks after the jump: the jumper is near the top of its arc, clear of the ground.
constexpr int kTicksIntoJump = 3;
constexpr int kHighDpi = 192;
constexpr int kBytesPerPixel = 4;
constexpr const char* kFloorName = "BM_Floor";

// The board as the main dialog lays it out at the current DPI.
RECT BoardRect() {
    CGameField field;
    testing_layout::LayOut(field);
    return field.m_rcBoard;
}

// In the pixel format of the platform's bitmaps, so that blits need no conversion.
SDL_Surface* CreateClientSurface() {
    const SIZE size = testing_layout::ClientSize();
    return SDL_CreateRGBSurfaceWithFormat(0, size.cx, size.cy, 32, SDL_PIXELFORMAT_XRGB8888);
}

// The first paint makes the back buffers and renders what is rendered once; it is done here
// so that only steady frames count.
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
    testing_dpi::CDpiScope dpi(static_cast<int>(state.range(0)));
    CGameField field;
    testing_layout::LayOut(field);
    field.m_nMode = CFieldView::kModeTitle;
    PaintFrames(state, field);
}

void BM_PaintPlaying(benchmark::State& state) {
    testing_dpi::CDpiScope dpi(static_cast<int>(state.range(0)));
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

// The least work a frame's board can be: every row of it set, then copied to the client.
void BM_Floor(benchmark::State& state) {
    testing_dpi::CDpiScope dpi(static_cast<int>(state.range(0)));
    const RECT rc = BoardRect();
    SDL_Surface* pBuffer = CreateClientSurface();
    SDL_Surface* pClient = CreateClientSurface();
    const size_t nRowBytes = static_cast<size_t>(rc.right - rc.left) * kBytesPerPixel;
    for (auto _ : state) {
        for (int y = rc.top; y < rc.bottom; ++y) {
            auto* pRow = static_cast<Uint8*>(pBuffer->pixels) + y * pBuffer->pitch +
                         rc.left * kBytesPerPixel;
            std::memset(pRow, 0, nRowBytes);
        }
        for (int y = rc.top; y < rc.bottom; ++y) {
            const size_t nOffset = y * pBuffer->pitch + rc.left * kBytesPerPixel;
            std::memcpy(static_cast<Uint8*>(pClient->pixels) + nOffset,
                        static_cast<const Uint8*>(pBuffer->pixels) + nOffset, nRowBytes);
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(pClient);
    SDL_FreeSurface(pBuffer);
}

// The same rows with SDL's fill and blit, as the drawing layers above it would call them.
void BM_RawSdlBoard(benchmark::State& state) {
    testing_dpi::CDpiScope dpi(static_cast<int>(state.range(0)));
    const RECT rc = BoardRect();
    const SDL_Rect rcArea{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    SDL_Surface* pBuffer = CreateClientSurface();
    SDL_Surface* pClient = CreateClientSurface();
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
    SDL_FreeSurface(pClient);
    SDL_FreeSurface(pBuffer);
}

// Passes the report on to the reporter that --benchmark_format chooses, and keeps each
// benchmark's mean time per frame.
class CRatioReporter : public benchmark::BenchmarkReporter {
public:
    explicit CRatioReporter(benchmark::BenchmarkReporter* pDisplay) : m_pDisplay(pDisplay) {}

    bool ReportContext(const Context& context) override {
        return m_pDisplay->ReportContext(context);
    }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool bMean = run.aggregate_name == "mean";
            if (!run.error_occurred && (bMean || run.aggregate_name.empty())) {
                // A mean, when there are repetitions, stands for the runs it sums up.
                if (bMean || m_times.count(run.run_name.str()) == 0) {
                    m_times[run.run_name.str()] = run.GetAdjustedRealTime();
                }
            }
        }
        m_pDisplay->ReportRuns(runs);
    }

    void Finalize() override { m_pDisplay->Finalize(); }

    // Each frame's ratio to the floor at the same DPI: "BM_X/<dpi>" over "BM_Floor/<dpi>".
    void PrintRatios() const {
        std::fprintf(stderr, "\nRatio to the floor (memset + memcpy of the board's rows):\n");
        for (const auto& [strName, dTime] : m_times) {
            const std::string strDpi = strName.substr(strName.find('/'));
            const auto floor = m_times.find(kFloorName + strDpi);
            if (floor != m_times.end() && floor->second > 0) {
                std::fprintf(stderr, "  %-24s %8.2f us  %5.2fx\n", strName.c_str(), dTime,
                             dTime / floor->second);
            }
        }
    }

private:
    benchmark::BenchmarkReporter* m_pDisplay;
    std::map<std::string, double> m_times;
};

}  // namespace

BENCHMARK(BM_Floor)->Arg(USER_DEFAULT_SCREEN_DPI)->Arg(kHighDpi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawSdlBoard)
    ->Arg(USER_DEFAULT_SCREEN_DPI)
    ->Arg(kHighDpi)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintTitle)
    ->Arg(USER_DEFAULT_SCREEN_DPI)
    ->Arg(kHighDpi)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintPlaying)
    ->Arg(USER_DEFAULT_SCREEN_DPI)
    ->Arg(kHighDpi)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // The game's text, as it draws on Linux.
    AfxSetTextRasterizer(&AfxTtfRasterizer());
    // The library makes the display reporter once and keeps it.
    CRatioReporter reporter(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
