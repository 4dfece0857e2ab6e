#pragma once
#include "launcher/gif/TGIFItem.h"
#include <memory>
#include <vector>

namespace GIFImage {

// An owning list of items. Removal happens here: Delete takes the item out
// of the list before freeing it.
class TGIFList {
public:
    explicit TGIFList(TGIFImage* image) : fImage(image) {}
    virtual ~TGIFList() { Clear(); }
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    int Count() const { return int(fItems.size()); }
    TGIFItem* Item(int index) const { return fItems.at(size_t(index)).get(); }
    TGIFImage* Image() const { return fImage; }

    int Add(std::unique_ptr<TGIFItem> item);
    void Clear();
    void Delete(int index);
    void Exchange(int index1, int index2);
    TGIFItem* First() const { return fItems.empty() ? nullptr : fItems.front().get(); }
    TGIFItem* Last() const { return fItems.empty() ? nullptr : fItems.back().get(); }
    int IndexOf(const TGIFItem* item) const;
    void Insert(int index, std::unique_ptr<TGIFItem> item);
    void Move(int curIndex, int newIndex);
    // Takes the item out of the list without freeing it.
    std::unique_ptr<TGIFItem> Remove(const TGIFItem* item);

    virtual void Warning(TGIFSeverity severity, const std::string& message) const;
    virtual void SaveToStream(Stream& s);
    virtual void LoadFromStream(Stream& s, TGIFItem* parent) = 0;

private:
    std::vector<std::unique_ptr<TGIFItem>> fItems;
    TGIFImage* fImage;
};

} // namespace GIFImage
