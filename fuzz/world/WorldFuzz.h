#pragma once
// What the office world's fuzz targets share: the null platform, an
// application whose pictures are plain 64 x 64 images (names starting with
// "missing" fail), an installed office world, and a drawing target.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "fuzz/resources/FuzzSupport.h"
#include "game/core/TextureRegistry.h"
#include "game/effects/ParticleRegistry.h"
#include "game/world/OfficeWorld.h"
#include "platform/NullPlatform.h"
#include "tests/game/effects/FakeImageApp.h"

namespace worldfuzz {

struct World {
    World()
    {
        app.width = app.height = 64;
        InstallOfficeWorld(&world);
        target.Create(320, 240);
    }
    // The archive layer first: the null platform then installs its services
    // over the layer's minimal ones.
    FakePakInterface& archive = fuzzsupport::Archive();
    plat::NullPlatform platform;
    FakeImageApp app;
    TextureRegistry textures{&app};
    ParticleRegistry particles{&textures};
    OfficeWorld world;
    Zelk::MemoryImage target;
};

inline World& TheWorld()
{
    static World* world = new World;
    return *world;
}

} // namespace worldfuzz
