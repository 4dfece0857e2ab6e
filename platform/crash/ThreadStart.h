#pragma once
#include <system_error>
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

// StartThread for a thread the program can do without: false, and no thread,
// when the system cannot start one or a test made this start fail.
template <typename Body>
bool TryStartThread(const char* name, Body&& body, std::thread& thread);

// The next TryStartThread fails (tests); TakeThreadStartFailure answers
// whether one was asked for and clears the request.
void FailNextThreadStart();
bool TakeThreadStartFailure();

template <typename Body>
std::thread StartThread(const char* name, Body&& body)
{
    return std::thread([name, body = std::forward<Body>(body)]() mutable {
        EnterProgramThread(name);
        body();
    });
}

template <typename Body>
bool TryStartThread(const char* name, Body&& body, std::thread& thread)
{
    if (TakeThreadStartFailure())
        return false;
    try {
        thread = StartThread(name, std::forward<Body>(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

} // namespace plat
