#pragma once
#include "launcher/gif/TGIFExtension.h"
#include <array>
#include <string>

namespace GIFImage {

struct TGIFApplicationRec {
    std::array<char, 8> Identifier{};
    std::array<char, 3> Authentication{};
};

// Application block (0xFF): an 8 + 3 byte identifier and application data.
class TGIFApplicationExtension : public TGIFExtension {
public:
    static const TGIFExtensionClass Class;
    using TGIFExtension::TGIFExtension;
    uint8_t ExtensionType() const override { return 0xFF; }
    const TGIFExtensionClass& ClassOf() const override { return Class; }

    std::string Identifier() const;
    std::string Authentication() const;
    // A shorter value is blank-filled, a longer one cut.
    void SetIdentifier(const std::string& value);
    void SetAuthentication(const std::string& value);
    static void RegisterExtension(const std::string& ident, const TGIFExtensionClass& cls);

    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

protected:
    virtual void SaveData(Stream& s) {}
    virtual void LoadData(Stream& s) {}
    TGIFApplicationRec fIdent;
};

} // namespace GIFImage
