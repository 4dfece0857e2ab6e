#pragma once
#include <atomic>

namespace Zelk {

class Image;

// An image the application shares by name, with the number of handles on it.
// Handles are made and dropped on the loading thread as well as the main
// thread, outside the display lock, so the count is atomic.
struct SharedImage {
    SharedImage() = default;
    SharedImage(const SharedImage& other) : mImage(other.mImage), mRefCount(other.mRefCount.load()) {}
    SharedImage& operator=(const SharedImage& other)
    {
        mImage = other.mImage;
        mRefCount = other.mRefCount.load();
        return *this;
    }

    Image* mImage = nullptr;
    std::atomic<int> mRefCount{0};
};

// A handle on an image: a counted shared record, or a direct image (owned or
// not). Releasing the last handle of a record asks the application to delete
// the image at its next purge.
//
// Copying a handle that holds a direct image shares that image without owning
// it: the copy must not outlive the handle that owns it.
class SharedImageRef {
public:
    SharedImageRef() = default;
    SharedImageRef(const SharedImageRef& other);
    SharedImageRef(SharedImage* shared);
    ~SharedImageRef();

    // Shares the other's record only; the direct image is not taken over.
    SharedImageRef& operator=(const SharedImageRef& other);
    void Release();
    void Assign(SharedImage* shared); // shared must not be null
    void AssignOwned(Image* image);
    Image* GetSharedImage() const;
    Image* GetImage() const;

    SharedImage* mSharedImage = nullptr;
    Image* mUnsharedImage = nullptr;
    bool mOwnsUnshared = false;
};

} // namespace Zelk
