#include "launcher/gif/TAppExtensionList.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include <cstring>

namespace GIFImage {

namespace {

TAppExtensionList::Ident MakeIdent(const char* text)
{
    TAppExtensionList::Ident ident{};
    std::memcpy(ident.data(), text, 11);
    return ident;
}

} // namespace

TAppExtensionList& TAppExtensionList::Instance()
{
    static TAppExtensionList list;
    return list;
}

TAppExtensionList::TAppExtensionList()
{
    Add(MakeIdent("NETSCAPE2.0"), TGIFAppExtNSLoop::Class);
    Add(MakeIdent("ANIMEXTS1.0"), TGIFAppExtNSLoop::Class);
}

void TAppExtensionList::Add(const Ident& ident, const TGIFExtensionClass& cls)
{
    fEntries.push_back(Entry{ident, &cls});
}

const TGIFExtensionClass* TAppExtensionList::FindExt(const Ident& ident) const
{
    for (auto it = fEntries.rbegin(); it != fEntries.rend(); ++it)
        if (it->Identifier == ident)
            return it->Class;
    return nullptr;
}

} // namespace GIFImage
