#include "framework/resources/PakInterface.h"

#include "framework/app/StringUtil.h"
#include "platform/files/NamedSlots.h"

#include <unistd.h>

namespace {

std::atomic<void*>& PakSlot()
{
    static std::atomic<void*>& slot = plat::NamedSlot(Zelk::StrFormat("gPakInterfaceP_%d", int(getpid())));
    return slot;
}

} // namespace

PakInterfaceBase* GetPakInterface()
{
    return static_cast<PakInterfaceBase*>(PakSlot().load(std::memory_order_acquire));
}

bool PublishPakInterface(PakInterfaceBase* pak)
{
    void* expected = nullptr;
    if (PakSlot().compare_exchange_strong(expected, pak, std::memory_order_acq_rel))
        return true;
    return expected == pak;
}

void WithdrawPakInterface(PakInterfaceBase* pak)
{
    void* expected = pak;
    PakSlot().compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}
