#include "framework/graphics/SaturationTable.h"

#include "framework/app/ZelkAppBase.h"

namespace Zelk {

namespace {

struct StandaloneTable {
    uint8_t entries[512];
    StandaloneTable()
    {
        for (int i = 0; i < 512; ++i)
            entries[i] = uint8_t(i < 256 ? i : 255);
    }
};

} // namespace

const uint8_t* GetSaturationTable()
{
    if (gAppBase)
        return gAppBase->mSaturationTable;
    static const StandaloneTable table;
    return table.entries;
}

} // namespace Zelk
