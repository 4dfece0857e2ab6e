#pragma once
#include "framework/app/CrashCatcher.h"

namespace Zelk {

// The static object that catches crashes from before the program's entry
// point until after it; the application object's own source holds it, so
// every program that links the framework has it. The sanitizers let a
// program's own handlers take these signals, so their builds have it too.
class CrashCatcherInstaller {
public:
    CrashCatcherInstaller() { CrashCatcher::Install(); }
    ~CrashCatcherInstaller() { CrashCatcher::Uninstall(); }
    CrashCatcherInstaller(const CrashCatcherInstaller&) = delete;
    CrashCatcherInstaller& operator=(const CrashCatcherInstaller&) = delete;
};

} // namespace Zelk
