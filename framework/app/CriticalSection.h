#pragma once
#include <mutex>

namespace Zelk {

// The lock of the whole system: re-entrant, so a thread that holds it may take
// it again. Always taken through a CritSectGuard.
class CriticalSection {
public:
    void Enter() { mMutex.lock(); }
    bool TryEnter() { return mMutex.try_lock(); }
    void Leave() { mMutex.unlock(); }

private:
    std::recursive_mutex mMutex;
};

class CritSectGuard {
public:
    explicit CritSectGuard(CriticalSection* cs) : mCs(cs) { mCs->Enter(); }
    explicit CritSectGuard(CriticalSection& cs) : mCs(&cs) { mCs->Enter(); }
    ~CritSectGuard() { mCs->Leave(); }
    CritSectGuard(const CritSectGuard&) = delete;
    CritSectGuard& operator=(const CritSectGuard&) = delete;

private:
    CriticalSection* mCs;
};

} // namespace Zelk
