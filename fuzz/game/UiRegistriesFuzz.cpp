// Any bytes as cfg\ui.xml, read by the texture, font and cursor registries
// over an image loader that fails for some names; every texture is taken and
// given back, every cursor mode selected and drawn.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/CursorManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/TextureRegistry.h"
#include "platform/NullPlatform.h"
#include "tests/game/effects/FakeImageApp.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Archive();
    static plat::NullPlatform* platform = new plat::NullPlatform;
    static FakeImageApp* app = new FakeImageApp;
    (void)platform;
    fuzzsupport::Serve("cfg\\ui.xml", data, size);

    XmlDocument document;
    XmlCreateDocument(document);
    XmlLoadFile("cfg\\ui.xml", document);
    XmlNode root = XmlNode(document).SelectSingle(L"root");

    auto textures = std::make_unique<TextureRegistry>(app);
    textures->Load(root);
    FontRegistry fonts(app);
    fonts.Load(root);
    CursorManager cursors(textures.get());
    cursors.Load(root);

    Zelk::MemoryImage target;
    target.Create(64, 64);
    Zelk::Graphics g(&target);
    std::vector<XmlNode> nodes;
    root.Select(L"texture|font|cursors", nodes);
    for (const XmlNode& node : nodes) {
        std::string value;
        if (XmlGetAttrString(node, L"id", value)) {
            textures->Get(value);
            textures->Release(value);
            textures->ReleaseImage(textures->Get(value));
        }
        if (XmlGetAttrString(node, L"name", value))
            fonts.Get(value);
        if (XmlGetAttrString(node, L"mode", value)) {
            cursors.Select(value);
            cursors.Draw(&g);
        }
    }
    cursors.Clear();
    return 0;
}
