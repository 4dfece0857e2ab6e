#include "framework/graphics/SharedImage.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Image.h"

namespace Zelk {

SharedImageRef::SharedImageRef(const SharedImageRef& other)
    : mSharedImage(other.mSharedImage), mUnsharedImage(other.mUnsharedImage), mOwnsUnshared(false)
{
    if (mSharedImage)
        mSharedImage->mRefCount++;
}

SharedImageRef::SharedImageRef(SharedImage* shared) : mSharedImage(shared)
{
    if (mSharedImage)
        mSharedImage->mRefCount++;
}

SharedImageRef::~SharedImageRef()
{
    Release();
}

SharedImageRef& SharedImageRef::operator=(const SharedImageRef& other)
{
    // Count the other's record first, so assigning a handle to itself (or to
    // another handle of the same record) cannot drop the record to 0.
    SharedImage* shared = other.mSharedImage;
    if (shared)
        shared->mRefCount++;
    Release();
    mSharedImage = shared;
    return *this;
}

void SharedImageRef::Release()
{
    if (mOwnsUnshared)
        delete mUnsharedImage;
    mUnsharedImage = nullptr;
    if (mSharedImage) {
        if (--mSharedImage->mRefCount == 0 && gAppBase) {
            CritSectGuard guard(gAppBase->DisplayLock());
            gAppBase->mSharedImagePurgeWanted = true;
        }
    }
    mSharedImage = nullptr;
}

void SharedImageRef::Assign(SharedImage* shared)
{
    shared->mRefCount++;
    Release();
    mSharedImage = shared;
}

void SharedImageRef::AssignOwned(Image* image)
{
    Release();
    mUnsharedImage = image;
    mSharedImage = nullptr;
    mOwnsUnshared = true;
}

Image* SharedImageRef::GetSharedImage() const
{
    return mSharedImage ? mSharedImage->mImage : nullptr;
}

Image* SharedImageRef::GetImage() const
{
    if (mUnsharedImage)
        return mUnsharedImage;
    return GetSharedImage();
}

} // namespace Zelk
