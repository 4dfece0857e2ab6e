#pragma once
#include <exception>
#include <string>

namespace Zelk {

// Thrown by the resource manager's look-ups for an id that is not loaded; the
// text is the manager's first recorded error.
class ResourceManagerException : public std::exception {
public:
    explicit ResourceManagerException(const std::string& what) : mWhat(what) {}
    const char* what() const noexcept override { return mWhat.c_str(); }

    std::string mWhat;
};

} // namespace Zelk
