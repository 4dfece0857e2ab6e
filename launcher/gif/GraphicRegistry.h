#pragma once
#include "launcher/gif/Graphic.h"
#include <functional>
#include <memory>
#include <string>

namespace GIFImage {

// The picture formats a program knows: by file extension (with a
// description) and by class name, each with a factory. Form data is how a
// picture is stored in a form: a length byte and the class name, then the
// format's own stream.
class GraphicRegistry {
public:
    using Factory = std::function<std::unique_ptr<Graphic>()>;

    // The extension is matched without case and without its dot.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
        const std::string& className, Factory factory);
    static void UnregisterClass(const std::string& className);

    // Null when nothing is registered under the name or extension.
    static std::unique_ptr<Graphic> CreateByClassName(const std::string& className);
    static std::unique_ptr<Graphic> CreateByExtension(const std::string& extension);
    // "" for an unknown extension.
    static std::string Description(const std::string& extension);

    // Creates the graphic named by the form data's class name and reads the
    // rest of the stream into it. A cut name or an unknown class raises
    // GraphicError; the format's own errors pass through.
    static std::unique_ptr<Graphic> LoadFromFormData(Stream& s);
    // The form data of a graphic: its class name, then its stream.
    static void SaveToFormData(Stream& s, const std::string& className, Graphic& graphic);
};

} // namespace GIFImage
