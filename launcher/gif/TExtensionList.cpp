#include "launcher/gif/TExtensionList.h"
#include "launcher/gif/TGIFApplicationExtension.h"
#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFTextExtension.h"
#include <algorithm>

namespace GIFImage {

TExtensionList& TExtensionList::Instance()
{
    static TExtensionList list;
    return list;
}

TExtensionList::TExtensionList()
{
    Add(0x01, TGIFTextExtension::Class);
    Add(0xF9, TGIFGraphicControlExtension::Class);
    Add(0xFE, TGIFCommentExtension::Class);
    Add(0xFF, TGIFApplicationExtension::Class);
}

void TExtensionList::Add(uint8_t label, const TGIFExtensionClass& cls)
{
    fEntries.push_back(Entry{label, &cls});
}

const TGIFExtensionClass* TExtensionList::FindExt(uint8_t label) const
{
    for (auto it = fEntries.rbegin(); it != fEntries.rend(); ++it)
        if (it->Label == label)
            return it->Class;
    return nullptr;
}

void TExtensionList::Remove(const TGIFExtensionClass& cls)
{
    fEntries.erase(std::remove_if(fEntries.begin(), fEntries.end(),
                       [&](const Entry& e) { return e.Class->InheritsFrom(cls); }),
        fEntries.end());
}

} // namespace GIFImage
