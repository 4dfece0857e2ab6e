#include "launcher/gif/TGIFApplicationExtension.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TAppExtensionList.h"
#include "launcher/gif/TGIFUnknownAppExtension.h"
#include <algorithm>
#include <cstring>

namespace GIFImage {

namespace {

// The class of the application data that follows the label.
const TGIFExtensionClass* FindApplicationClass(const TGIFExtensionClass& self, Stream& s)
{
    int64_t position = s.Position();
    int size = StreamIO::ReadByteOrEnd(s);
    if (size < 0)
        return nullptr;
    if (size == 10) {
        uint8_t skip[10];
        StreamIO::ReadExactly(s, skip, 10);
        return &TGIFUnknownAppExtension::Class;
    }
    if (size >= 11) {
        // A longer block is known by its first 11 bytes too, and otherwise
        // kept with its data as an unknown one.
        TAppExtensionList::Ident ident;
        StreamIO::ReadExactly(s, ident.data(), 11);
        const TGIFExtensionClass* found = TAppExtensionList::Instance().FindExt(ident);
        return found ? found : &TGIFUnknownAppExtension::Class;
    }
    s.Seek(position);
    return &self;
}

template <size_t N>
void Fill(std::array<char, N>& field, const std::string& value)
{
    field.fill(' ');
    std::memcpy(field.data(), value.data(), std::min(N, value.size()));
}

} // namespace

const TGIFExtensionClass TGIFApplicationExtension::Class{"TGIFApplicationExtension", nullptr,
    [](TGIFSubImage* f) -> std::unique_ptr<TGIFExtension> { return std::make_unique<TGIFApplicationExtension>(f); },
    FindApplicationClass};

std::string TGIFApplicationExtension::Identifier() const
{
    return std::string(fIdent.Identifier.data(), 8);
}

std::string TGIFApplicationExtension::Authentication() const
{
    return std::string(fIdent.Authentication.data(), 3);
}

void TGIFApplicationExtension::SetIdentifier(const std::string& value)
{
    Fill(fIdent.Identifier, value);
}

void TGIFApplicationExtension::SetAuthentication(const std::string& value)
{
    Fill(fIdent.Authentication, value);
}

void TGIFApplicationExtension::RegisterExtension(const std::string& ident, const TGIFExtensionClass& cls)
{
    TAppExtensionList::Ident key{};
    std::memcpy(key.data(), ident.data(), std::min<size_t>(11, ident.size()));
    TAppExtensionList::Instance().Add(key, cls);
}

void TGIFApplicationExtension::LoadFromStream(Stream& s)
{
    ReadIntroducer(s);
    int size = StreamIO::ReadUInt8(s);
    if (size < 10)
        throw GIFException(Msg::kBadAppBlockSize);
    char bytes[11];
    StreamIO::ReadExactly(s, bytes, 11);
    if (size == 10) {
        // A 10-byte identifier: the 11th byte read is the first of the data.
        bytes[10] = 0;
        s.Seek(s.Position() - 1);
    } else {
        StreamIO::Skip(s, size - 11);
    }
    std::memcpy(fIdent.Identifier.data(), bytes, 8);
    std::memcpy(fIdent.Authentication.data(), bytes + 8, 3);
    LoadData(s);
}

void TGIFApplicationExtension::SaveToStream(Stream& s)
{
    WriteIntroducer(s);
    StreamIO::WriteUInt8(s, 11);
    StreamIO::WriteBytes(s, fIdent.Identifier.data(), 8);
    StreamIO::WriteBytes(s, fIdent.Authentication.data(), 3);
    SaveData(s);
}

} // namespace GIFImage
