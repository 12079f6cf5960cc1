#include "platform/gdi/text_raster.h"

namespace {

// Has no face, so no font is made, and text draws nothing.
class CNoTextRasterizer : public CTextRasterizer {
public:
    HFACE OpenFace(const char* /*pszFamily*/, int /*nPixelHeight*/) override { return nullptr; }
    HFACE FaceFor(HFACE hFace, const std::string& /*strText*/) override { return hFace; }
    FaceMetrics Metrics(HFACE /*hFace*/) override { return FaceMetrics{0, 0, 0}; }
    int Advance(HFACE /*hFace*/, const std::string& /*strText*/) override { return 0; }
    bool Bearings(HFACE /*hFace*/, const std::string& /*strText*/, int* /*pnLeft*/,
                  int* /*pnRight*/) override {
        return false;
    }
    Coverage Render(HFACE /*hFace*/, const std::string& /*strText*/) override { return Coverage(); }
};

CNoTextRasterizer g_noRasterizer;
CTextRasterizer* g_pRasterizer = &g_noRasterizer;

}  // namespace

CTextRasterizer& AfxTextRasterizer() {
    return *g_pRasterizer;
}

void AfxSetTextRasterizer(CTextRasterizer* pRasterizer) {
    g_pRasterizer = pRasterizer != nullptr ? pRasterizer : &g_noRasterizer;
}
