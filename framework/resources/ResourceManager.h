#pragma once
#include "framework/graphics/AnimInfo.h"
#include "framework/graphics/SharedImage.h"
#include "framework/resources/ResourceHost.h"
#include "framework/resources/ResourceManagerException.h"

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace Zelk {

class Font;
class Image;
class MemoryImage;
class XMLElement;
class XMLParser;
class ZelkAppBase;

// Reads the resource manifest (properties\resources.xml): groups of images,
// sounds and fonts, each declared under an id. Loads a group on request and
// hands the loaded objects out by id. The first failure of a manifest read or
// a group load is kept as the error text; look-ups of an id that is not
// loaded throw ResourceManagerException with it.
class ResourceManager {
public:
    enum ResType { ResType_Image = 0, ResType_Sound = 1, ResType_Font = 2 };
    using AttributeMap = std::map<std::wstring, std::wstring>;

    struct BaseRes {
        explicit BaseRes(ResType type, ResourceHost* host) : mType(type), mHost(host) {}
        virtual ~BaseRes() = default;
        // Lets go of the loaded object; the declaration stays.
        virtual void DeleteResource() {}

        ResType mType;
        std::string mId;
        std::string mResGroup;
        std::string mPath;
        AttributeMap mXMLAttributes;
        bool mFromProgram = false; // path "!program": made by the program, never loaded
        ResourceHost* mHost;
    };

    struct ImageRes : BaseRes {
        explicit ImageRes(ResourceHost* host) : BaseRes(ResType_Image, host) {}
        void DeleteResource() override;

        SharedImageRef mImage; // a shared image, or one the program gave (owned)
        std::string mAlphaImage;
        std::string mAlphaGridImage;
        std::string mVariant;
        bool mAutoFindAlpha = true;
        bool mPalletize = true;
        bool mA4R4G4B4 = false;
        bool mA8R8G8B8 = false;
        bool mDDSurface = false;
        bool mPurgeBits = false;
        bool mMinimizeSubdivisions = false;
        int mRows = 1;
        int mCols = 1;
        uint32_t mAlphaColor = 0xFFFFFF;
        AnimInfo mAnimInfo;
    };

    struct SoundRes : BaseRes {
        explicit SoundRes(ResourceHost* host) : BaseRes(ResType_Sound, host) {}
        void DeleteResource() override;

        int mSoundId = -1;
        double mVolume = -1.0;
        int mPan = 0;
    };

    struct FontRes : BaseRes {
        explicit FontRes(ResourceHost* host) : BaseRes(ResType_Font, host) {}
        void DeleteResource() override;

        Font* mFont = nullptr;   // owned
        Image* mImage = nullptr; // owned; the manager never sets it
        std::string mImagePath;
        std::string mTags;
        bool mSysFont = false;
        bool mBold = false;
        bool mItalic = false;
        bool mUnderline = false;
        bool mShadow = false;
        int mSize = 0;
    };

    using ResMap = std::map<std::string, BaseRes*>;
    using ResList = std::list<BaseRes*>;

    // host: where loads go; null for the application's own (AppResourceHost).
    explicit ResourceManager(ZelkAppBase* app, ResourceHost* host = nullptr);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // Reads a manifest; false (with the error text) on its first failure.
    bool ParseResourcesFile(const std::string& fileName);
    bool ParseResourceManifest();

    virtual bool LoadResources(const std::string& group);
    virtual void StartLoadResources(const std::string& group);
    // Loads the next record of the selected group that is not loaded yet;
    // false at the end of the group or after a failure.
    virtual bool LoadNextResource();
    virtual void DeleteResources(const std::string& group);
    bool IsGroupLoaded(const std::string& group) const { return mLoadedGroups.count(group) != 0; }

    // The loaded object of an id; throw ResourceManagerException otherwise.
    // The font stays the manager's.
    virtual SharedImageRef GetImageThrow(const std::string& id);
    virtual int GetSoundThrow(const std::string& id);
    virtual Font* GetFontThrow(const std::string& id);
    // The shared image of an id, loading it when needed; an empty reference
    // when it cannot be had. Throws nothing.
    SharedImageRef GetImageOrLoad(const std::string& id);
    // Gives an image record an image of the program's own, which the record
    // then owns. False for an unknown id.
    bool ReplaceImage(const std::string& id, Image* image);

    std::string GetErrorText() const { return mError; }
    bool HadError() const { return mHasFailed; }
    // Records text unless a failure is recorded already; always false.
    bool Fail(const std::string& text);

protected:
    virtual bool ParseCommonResource(XMLElement* element, BaseRes* res, ResMap& map);
    virtual bool ParseSoundResource(XMLElement* element);
    virtual bool ParseImageResource(XMLElement* element);
    virtual bool ParseFontResource(XMLElement* element);
    virtual bool ParseSetDefaults(XMLElement* element);
    virtual bool ParseResources();
    virtual void DeleteMap(ResMap& map, const std::string& group);
    virtual bool LoadImageRes(ImageRes* res);
    virtual bool LoadFontRes(FontRes* res);
    virtual bool LoadSoundRes(SoundRes* res);
    // Called after each resource that loaded.
    virtual void ResourceLoaded(BaseRes* res) {}

    std::set<std::string> mLoadedGroups;
    ResMap mImageMap;
    ResMap mSoundMap;
    ResMap mFontMap;
    XMLParser* mXMLParser = nullptr;
    std::string mError;
    bool mHasFailed = false;
    ZelkAppBase* mApp;
    std::string mCurResGroup;
    std::string mDefaultPath;
    std::string mDefaultIdPrefix;
    std::map<std::string, ResList> mResGroupMap;
    ResList* mCurResGroupList = nullptr;
    ResList::iterator mCurResGroupListItr;

private:
    bool MergeAlpha(ImageRes* res, MemoryImage* image);
    std::unique_ptr<ResourceHost> mOwnHost;
    ResourceHost* mHost;
};

} // namespace Zelk
