// The capability test without a Direct3D device: 3D is never recommended.
#include "framework/graphics/D3DTester.h"

namespace Zelk {

D3DTester::D3DTester() = default;
D3DTester::~D3DTester() = default;

void D3DTester::RunAndRecord(plat::WindowHandle, plat::DirectDraw* ddraw7)
{
    mWarning.clear();
    if (!ddraw7 && !plat::HasDirectDrawCreateEx())
        mFailureReason = "No DirectDrawCreateEx";
    else
        mFailureReason = "No Direct3D device";
}

} // namespace Zelk
