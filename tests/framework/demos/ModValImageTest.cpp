#include "platform/NullPlatform.h"

#include <gtest/gtest.h>

// Defines the macro M, so it comes last.
#include "framework/app/ModVal.h"

using namespace Zelk;

namespace {
constexpr int kTunedSpeed = 3;
int TunedSpeed() { return M(kTunedSpeed); }
constexpr int kTunedLine = __LINE__ - 1;
} // namespace

// The one tunable constant of the test program is a real slot in its image.
TEST(ModValImage, TheProgramsOwnConstantIsFoundAndReloadedFromItsSource)
{
    plat::NullPlatform platform;
    ModValRegistry scan;
    scan.ScanMemory();
    // Only this file: the scanner's own marker is not a slot.
    ASSERT_EQ(scan.GetFiles().size(), 1u);
    const auto& file = scan.GetFiles().begin()->second;
    EXPECT_EQ(scan.GetFiles().begin()->first, __FILE__);
    ASSERT_EQ(file.entries.size(), 1u);
    EXPECT_EQ(file.entries.begin()->second.line, kTunedLine);

    // The first read activates the slot and gives the compiled value.
    EXPECT_EQ(TunedSpeed(), 3);
    ModValRegistry& program = ModValRegistry::Get();
    EXPECT_TRUE(program.GetFiles().at(__FILE__).active);

    // The reload reads the value written at that line of this file.
    program.SetNamedConstant("kTunedSpeed", 8);
    program.SetReferenceTime(1);
    EXPECT_TRUE(program.ReloadAll());
    EXPECT_TRUE(platform.messageBoxes.Log().empty());
    EXPECT_EQ(TunedSpeed(), 8);
}
