#include "framework/app/DeveloperToolsConnection.h"
#include "framework/app/DebugToolHooks.h"
#include "framework/app/ModValRegistry.h"
#include "framework/app/Profiler.h"

namespace Zelk {

void ConnectDeveloperTools(DebugToolHooks& hooks)
{
    hooks.reloadTunables = [] { return ModValRegistry::Get().ReloadAll(); };
    hooks.profilerRunning = [] { return Profiler::Get().IsRunning(); };
    hooks.profilerStart = [] { Profiler::Get().Start(false); };
    hooks.profilerStop = [] { Profiler::Get().Stop(); };
    hooks.profilerReport = [] { return Profiler::Get().GetReport(); };
}

} // namespace Zelk
