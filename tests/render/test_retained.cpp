// A bitmap painted frame after frame, and copied each time to a window's surface, must look
// exactly as a fresh one painted once, however much of the last frame the platform reuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "pixels.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_impl.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr RECT kBoard{4, 4, 60, 44};
constexpr COLORREF kColours[] = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(204, 0, 0),
                                 RGB(255, 255, 0)};

struct Shape {
    RECT rc;
    COLORREF crPen;
    COLORREF crBrush;
};

struct Scene {
    COLORREF crBoard;
    std::vector<Shape> shapes;
    bool bText;
};

void DrawShape(CDC& dc, const Shape& shape) {
    CPen pen;
    CBrush brush;
    pen.CreatePen(PS_SOLID, 1, shape.crPen);
    brush.CreateSolidBrush(shape.crBrush);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    dc.Rectangle(shape.rc.left, shape.rc.top, shape.rc.right, shape.rc.bottom);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

// As the game paints its board: all of it in one colour, then the shapes, then a label.
void Paint(CDC& dc, const Scene& scene) {
    DrawShape(dc, Shape{kBoard, scene.crBoard, scene.crBoard});
    for (const Shape& shape : scene.shapes) {
        DrawShape(dc, shape);
    }
    if (scene.bText) {
        CFont font;
        font.CreatePointFont(90, "sans-serif");
        CFont* pOldFont = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(255, 255, 255));
        RECT rc = kBoard;
        dc.DrawText("GOAL!!", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SelectObject(pOldFont);
    }
}

class CScenes {
public:
    Scene Next() {
        Scene scene{Pick(kBoardColours), {}, Roll(4) == 0};
        const int nShapes = Roll(6);
        for (int i = 0; i < nShapes; ++i) {
            // Some shapes reach past the board and the bitmap.
            const int x = Roll(kWidth + 8) - 8;
            const int y = Roll(kHeight + 8) - 8;
            scene.shapes.push_back(Shape{RECT{x, y, x + 1 + Roll(20), y + 1 + Roll(20)},
                                         Pick(kColours), Pick(kColours)});
        }
        return scene;
    }
    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

private:
    // Mostly the same board colour, as in the game, so that fills repeat.
    static constexpr COLORREF kBoardColours[] = {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0),
                                                 RGB(0, 0, 80)};
    template <size_t N>
    COLORREF Pick(const COLORREF (&colours)[N]) {
        return colours[Roll(static_cast<int>(N))];
    }
    std::mt19937 m_rng{20261207};
};

// A memory context on a bitmap of its own, as the game makes its buffers: not filled first.
class CBuffer {
public:
    CBuffer() {
        m_bitmap.CreateCompatibleBitmap(nullptr, kWidth, kHeight);
        m_dc.CreateCompatibleDC(nullptr);
        m_dc.SelectObject(&m_bitmap);
    }
    CDC& DC() { return m_dc; }
    PixelBuffer Pixels() const { return m_dc.Impl().Target(); }

private:
    CBitmap m_bitmap;
    CDC m_dc;
};

// A window's pixels, as a screen driver hands them out.
struct CWindowPixels {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kWidth * kHeight);
    PixelBuffer View() { return PixelBuffer{kWidth, kHeight, kWidth * 4, words.data()}; }
};

std::uint32_t PixelOf(const PixelBuffer& pixels, int x, int y) {
    return *pixels.At(x, y);
}

TEST(RetainedPainting, FramesCopiedToAWindowMatchFreshPaints) {
    CScenes scenes;
    CBuffer buffer;
    CWindowPixels window;
    for (int nFrame = 0; nFrame < 400; ++nFrame) {
        SCOPED_TRACE(nFrame);
        const Scene scene = scenes.Next();
        Paint(buffer.DC(), scene);
        CBuffer fresh;
        Paint(fresh.DC(), scene);
        for (int y = kBoard.top; y < kBoard.bottom; ++y) {
            ASSERT_EQ(
                std::memcmp(buffer.Pixels().At(kBoard.left, y), fresh.Pixels().At(kBoard.left, y),
                            (kBoard.right - kBoard.left) * sizeof(std::uint32_t)),
                0)
                << "row " << y;
        }

        // What happens to a window between paints: its surface made anew, or drawn on by
        // something else (a menu, say).
        const int nEvent = scenes.Roll(10);
        if (nEvent == 0) {
            window = CWindowPixels();
        } else if (nEvent == 1) {
            CDC other;
            HSURFACE__ surface{window.View()};
            other.AttachSurface(&surface);
            const RECT rc{scenes.Roll(kWidth), scenes.Roll(kHeight), kWidth, kHeight};
            other.FillSolidRect(&rc, RGB(0, 200, 0));
        }
        CWindowPixels before = window;
        // Mostly the whole board, as a tick repaints it; sometimes a part.
        const RECT rcPaint = scenes.Roll(4) == 0 ? RECT{0, 0, 30, 30} : kBoard;
        CDC windowDC;
        HSURFACE__ surface{window.View()};
        windowDC.AttachSurface(&surface);
        windowDC.SetClipRect(&rcPaint);
        windowDC.BitBlt(kBoard.left, kBoard.top, kBoard.right - kBoard.left,
                        kBoard.bottom - kBoard.top, &buffer.DC(), kBoard.left, kBoard.top, SRCCOPY);

        RECT rcCopied;
        IntersectRect(&rcCopied, &rcPaint, &kBoard);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t nNow = PixelOf(window.View(), x, y);
                if (PtInRect(&rcCopied, POINT{x, y})) {
                    ASSERT_EQ(nNow, PixelOf(fresh.Pixels(), x, y)) << x << "," << y;
                } else {
                    ASSERT_EQ(nNow, PixelOf(before.View(), x, y)) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
