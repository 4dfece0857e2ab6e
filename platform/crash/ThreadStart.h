#pragma once
#include <thread>
#include <utility>

namespace plat {

// Every thread the programs start goes through here. Before its body runs the
// new thread prepares itself for crashes (an alternate signal stack of its
// own, so even a stack overflow on it is reported) and takes its name, which
// the system lists it under (at most 15 characters are kept).
template <typename Body>
std::thread StartThread(const char* name, Body&& body);

// The first steps of every thread StartThread makes; a thread the program did
// not start itself (a library's, running the program's callbacks) may take
// them too. The name may be null: the thread keeps the one it has.
void EnterProgramThread(const char* name);

template <typename Body>
std::thread StartThread(const char* name, Body&& body)
{
    return std::thread([name, body = std::forward<Body>(body)]() mutable {
        EnterProgramThread(name);
        body();
    });
}

} // namespace plat
