#pragma once
#include <atomic>
#include <string>

namespace plat {

// Process-wide named slots, each holding one pointer. They stand in for the
// small named shared-memory blocks through which one part of the program
// publishes an object's address to parts that do not link to it. A slot is
// made empty on first use and lives until the process ends, so the returned
// reference stays valid; reading and writing it is lock-free.
std::atomic<void*>& NamedSlot(const std::string& name);

} // namespace plat
