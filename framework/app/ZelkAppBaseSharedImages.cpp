// Shared images by name: the deferred deletion of unused ones.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Image.h"

namespace Zelk {

void ZelkAppBase::PurgeSharedImages()
{
    CritSectGuard g(DisplayLock());
    if (!mSharedImagePurgeWanted)
        return;
    for (auto it = mSharedImageMap.begin(); it != mSharedImageMap.end();) {
        if (it->second.mRefCount == 0) {
            delete it->second.mImage;
            it = mSharedImageMap.erase(it);
        } else {
            ++it;
        }
    }
    mSharedImagePurgeWanted = false;
}

} // namespace Zelk
