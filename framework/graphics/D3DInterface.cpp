// The renderer without a Direct3D device: 3D never starts, nothing is drawn.
#include "framework/graphics/D3DInterface.h"

namespace Zelk {

std::string gLast3DError;
bool gDeviceLost = false;

D3DInterface::D3DInterface() = default;
D3DInterface::~D3DInterface() { Cleanup(); }

bool D3DInterface::Init(DDInterface*)
{
    gLast3DError = "Direct3D is not available";
    return false;
}

void D3DInterface::Cleanup() { EndScene(); }

void D3DInterface::EndScene()
{
    if (mSceneOpen) {
        mSceneOpen = false;
        gLast3DError.clear();
    }
}

void D3DInterface::RemoveImageTextures(MemoryImage*) {}
void D3DInterface::Blt(Image*, float, float, const Rect&, const Color&, int, bool) {}
void D3DInterface::BltTranslated(Image*, float, float, const Rect&, const Rect&, const Color&, int) {}
void D3DInterface::BltMirrored(Image*, float, float, const Rect&, const Color&, int, bool) {}
void D3DInterface::BltStretched(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool, bool) {}
void D3DInterface::BltRotated(Image*, float, float, const Rect&, const Color&, int, double, float, float, const Rect&) {}
void D3DInterface::BltTransformed(Image*, const Rect*, const Color&, int, const Rect&, const Matrix3&, bool, float, float,
                                  bool)
{
}
void D3DInterface::BltTriangles(const TriVertex (*)[3], int, const Color&, int, Image*, float, float, bool) {}
void D3DInterface::FillRect(const Rect&, const Color&, int) {}
void D3DInterface::DrawLine(double, double, double, double, const Color&, int) {}
void D3DInterface::FillPolygon(const Point*, int, const Rect*, const Color&, int, int, int) {}

} // namespace Zelk
