#pragma once
// The office world as the effect callbacks see it (installed with the
// office world).
#include "game/effects/EffectWorld.h"

class OfficeEffectWorld : public EffectWorld {
public:
    bool GetPartOwner(ObjectPart* part, std::string& name, std::string& skin) override;
    // Through FindWorkerByNamePrefix and Worker::GetTransformTo.
    bool FindWorkerTransformTo(const std::string& prefix, std::string& code) override;
};
