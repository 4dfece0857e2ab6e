// The application's image services: the set of live memory images, images
// loaded from files, images shared by name, and copies of images.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/resources/ImageLib.h"

#include <memory>
#include <vector>

namespace Zelk {

void ZelkAppBase::ReapplyAllImageReductions()
{
    CritSectGuard g(DisplayLock());
    for (MemoryImage* image : mMemoryImageSet)
        image->ReapplyReductions();
}

void ZelkAppBase::FreeAllNativeImageData()
{
    CritSectGuard g(DisplayLock());
    for (MemoryImage* image : mMemoryImageSet)
        image->FreeNativeData();
}

void ZelkAppBase::FreeAllImageBuffers()
{
    CritSectGuard g(DisplayLock());
    for (MemoryImage* image : mMemoryImageSet)
        image->FreeExtraBuffers();
}

void ZelkAppBase::RemoveImageTextures(MemoryImage* image)
{
    if (DDInterface* dd = mDDInterface)
        dd->RemoveImageTextures(image);
}

DDImage* ZelkAppBase::GetImage(const std::string& fileName, bool commitBits)
{
    std::unique_ptr<ImageLib::Image> decoded(ImageLib::GetImage(fileName, true));
    if (!decoded || !decoded->mBits)
        return nullptr;
    DDImage* image = new DDImage(mDDInterface);
    image->mFilePath = fileName;
    image->SetBits(decoded->mBits, decoded->mWidth, decoded->mHeight, commitBits);
    return image;
}

SharedImageRef ZelkAppBase::GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew)
{
    const std::pair<std::string, std::string> key(StringToUpper(fileName), StringToUpper(variant));
    SharedImageRef ref;
    bool inserted = false;
    SharedImage* record = nullptr;
    {
        CritSectGuard g(DisplayLock());
        auto result = mSharedImageMap.insert(std::make_pair(key, SharedImage()));
        inserted = result.second;
        record = &result.first->second;
        ref = SharedImageRef(record);
    }
    if (isNew)
        *isNew = inserted;
    // Loaded outside the lock: the cursor thread and presenting take it.
    if (inserted) {
        Image* image;
        if (!fileName.empty() && fileName[0] == '!')
            image = new DDImage(mDDInterface);
        else
            image = GetImage(fileName, false);
        CritSectGuard g(DisplayLock());
        record->mImage = image;
    }
    return ref;
}

DDImage* ZelkAppBase::CopyImageRect(Image* image, const Rect& rect)
{
    DDImage* copy = new DDImage(mDDInterface);
    copy->Create(rect.mWidth, rect.mHeight);
    Graphics g(copy);
    g.DrawImage(image, -rect.mX, -rect.mY);
    copy->CopyLayoutFrom(image);
    return copy;
}

DDImage* ZelkAppBase::CopyImage(Image* image)
{
    return CopyImageRect(image, Rect(0, 0, image->mWidth, image->mHeight));
}

} // namespace Zelk
