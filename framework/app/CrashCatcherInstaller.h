#pragma once
#include "framework/app/CrashCatcher.h"

namespace Zelk {

// The program's static object that catches crashes from before its entry
// point until after it. Only programs define one: test programs install the
// catcher themselves when a test asks for it. Sanitizer builds leave faults
// to the sanitizer's own handlers.
class CrashCatcherInstaller {
public:
    CrashCatcherInstaller()
    {
#if !defined(ZELK_SANITIZED)
        CrashCatcher::Install();
#endif
    }
    ~CrashCatcherInstaller() { CrashCatcher::Uninstall(); }
    CrashCatcherInstaller(const CrashCatcherInstaller&) = delete;
    CrashCatcherInstaller& operator=(const CrashCatcherInstaller&) = delete;
};

} // namespace Zelk
