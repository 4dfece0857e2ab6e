#include "launcher/gif/TGIFList.h"
#include "launcher/gif/TGIFImage.h"
#include <algorithm>

namespace GIFImage {

int TGIFList::Add(std::unique_ptr<TGIFItem> item)
{
    fItems.push_back(std::move(item));
    return Count() - 1;
}

void TGIFList::Clear()
{
    while (!fItems.empty())
        Delete(0);
}

void TGIFList::Delete(int index)
{
    std::unique_ptr<TGIFItem> item = std::move(fItems.at(size_t(index)));
    fItems.erase(fItems.begin() + index);
    item.reset();
}

void TGIFList::Exchange(int index1, int index2)
{
    std::swap(fItems.at(size_t(index1)), fItems.at(size_t(index2)));
}

int TGIFList::IndexOf(const TGIFItem* item) const
{
    for (size_t i = 0; i < fItems.size(); ++i)
        if (fItems[i].get() == item)
            return int(i);
    return -1;
}

void TGIFList::Insert(int index, std::unique_ptr<TGIFItem> item)
{
    fItems.insert(fItems.begin() + std::clamp(index, 0, Count()), std::move(item));
}

void TGIFList::Move(int curIndex, int newIndex)
{
    std::unique_ptr<TGIFItem> item = std::move(fItems.at(size_t(curIndex)));
    fItems.erase(fItems.begin() + curIndex);
    Insert(newIndex, std::move(item));
}

std::unique_ptr<TGIFItem> TGIFList::Remove(const TGIFItem* item)
{
    int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    std::unique_ptr<TGIFItem> taken = std::move(fItems[size_t(index)]);
    fItems.erase(fItems.begin() + index);
    return taken;
}

void TGIFList::Warning(TGIFSeverity severity, const std::string& message) const
{
    if (fImage)
        fImage->Warning(this, severity, message);
}

void TGIFList::SaveToStream(Stream& s)
{
    for (auto& item : fItems)
        item->SaveToStream(s);
}

} // namespace GIFImage
