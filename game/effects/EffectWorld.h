#pragma once
// What the effect callbacks need of the office world, reached through an
// interface the world installs. Without one, callbacks that need the world
// find no object and do nothing.
#include <cstdint>
#include <string>

class ObjectPart;

class EffectWorld {
public:
    virtual ~EffectWorld() = default;
    // The name and skin word of the scene object that owns the part; false
    // when the part has no owner.
    virtual bool GetPartOwner(ObjectPart* part, std::string& name, std::string& skin) = 0;
    // The "transform_to" word of the worker with the longest name that
    // begins the text; false when there is none.
    virtual bool FindWorkerTransformTo(const std::string& prefix, std::string& code) = 0;
};

// The installed world (null: none). The world outlives its installation.
void SetEffectWorld(EffectWorld* world);
EffectWorld* GetEffectWorld();

// The sequence record of an animation file, as the animation player hands it
// to its effect under parameter 2 (24 bytes in the file).
struct AnmSequence {
    uint32_t unused0;
    uint32_t unused1;
    int32_t mode; // 0 endless cycle, 2 once backward, otherwise once forward
    int32_t framesPerSecond;
    int32_t frameCount;
    uint32_t frameLink;
};
static_assert(sizeof(AnmSequence) == 24, "the file's sequence record is 24 bytes");
