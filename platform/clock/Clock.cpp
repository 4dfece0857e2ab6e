#include "platform/clock/Clock.h"
#include "platform/Platform.h"

namespace plat {

uint32_t TimeGetTime() { return Get().clock->NowMs(); }
uint32_t GetTickCount() { return Get().clock->NowMs(); }
void Sleep(uint32_t ms) { Get().clock->SleepMs(ms); }

} // namespace plat
