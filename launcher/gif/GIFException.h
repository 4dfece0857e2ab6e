#pragma once
#include <stdexcept>
#include <string>

namespace GIFImage {

// The toolkit's invalid-graphic error, parent of every error of the unit.
class GraphicError : public std::runtime_error {
public:
    explicit GraphicError(const std::string& message) : std::runtime_error(message) {}
};

// An error of the GIF unit; its text is one of GIFMessages.h.
class GIFException : public GraphicError {
public:
    explicit GIFException(const std::string& message) : GraphicError(message) {}
};

} // namespace GIFImage
