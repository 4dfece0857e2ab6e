#pragma once
// The 3D capability test, as far as the display uses it: run once on the
// display's window and DirectDraw object, it leaves a failure reason (3D must
// not be used) and a warning (3D works but is not chosen by itself).
//
// This build has no Direct3D device yet: the test always fails.
#include "platform/ddraw/DirectDraw.h"

#include <string>

namespace Zelk {

class D3DTester {
public:
    D3DTester();
    virtual ~D3DTester();

    // The whole test and its recording. ddraw7 may be null: the test then
    // makes its own DirectDraw object.
    void RunAndRecord(plat::WindowHandle window, plat::DirectDraw* ddraw7);

    // Video memory in megabytes below which 3D fails, and below which it warns.
    int mMinVidMemory = 0;
    int mRecommendedVidMemory = 0;
    std::string mFailureReason;
    std::string mWarning;
    // The result differs from the one remembered from an earlier run.
    bool mResultChanged = false;
};

} // namespace Zelk
