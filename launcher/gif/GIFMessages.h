#pragma once

// The unit's message table: the texts are part of its interface.
namespace GIFImage::Msg {

inline constexpr char kDescription[] = "GIF Image";
inline constexpr char kLoading[] = "Loading...";
inline constexpr char kSaving[] = "Saving...";
inline constexpr char kConverting[] = "Converting...";
inline constexpr char kRendering[] = "Rendering...";
inline constexpr char kCopying[] = "Copying...";
inline constexpr char kOptimizing[] = "Optimizing...";
inline constexpr char kInvalidData[] = "Invalid GIF data";
inline constexpr char kHeightTooSmall[] = "Image height too small for contained frames";
inline constexpr char kWidthTooSmall[] = "Image width too small for contained frames";
inline constexpr char kFailedClipboard[] = "Failed to store GIF on clipboard";
inline constexpr char kExceedsScreen[] = "Image exceeds Logical Screen size";
inline constexpr char kNoColorTable[] = "No global or local color table defined";
inline constexpr char kBadPixelCoordinates[] = "Invalid pixel coordinates";
inline constexpr char kUnsupportedPixelFormat[] = "Unsupported PixelFormat";
inline constexpr char kInvalidDimensions[] = "Invalid image dimensions";
inline constexpr char kNoDIB[] = "Image has no DIB";
inline constexpr char kInvalidStream[] = "Invalid stream operation";
inline constexpr char kColorNotInTable[] = "Color not in color table";
inline constexpr char kInvalidBitsPerPixel[] = "Invalid Bits Per Pixel value";
inline constexpr char kEmptyColorTable[] = "Color table is empty";
inline constexpr char kImageEmpty[] = "Image is empty";
inline constexpr char kInvalidReduction[] = "Invalid reduction method";
inline constexpr char kColorTableOverflow[] = "Color table overflow";
inline constexpr char kInvalidColorIndex[] = "Invalid color index";
inline constexpr char kUnsupportedVersion[] = "Unsupported GIF version";
inline constexpr char kBadSignature[] = "Invalid GIF signature";
inline constexpr char kUnknownExtension[] = "Unknown extension type";
inline constexpr char kBadExtensionIntroducer[] = "Invalid extension introducer";
inline constexpr char kFailedDIBMemory[] = "Failed to allocate memory for GIF DIB";
inline constexpr char kBitBufferUnderrun[] = "Decoder bit buffer under-run";
inline constexpr char kCircularTableEntry[] = "Circular decoder table entry";
inline constexpr char kBadTrailer[] = "Invalid Image trailer";
inline constexpr char kExtensionMismatch[] = "Internal error: Extension Instance does not match Extension Label";
inline constexpr char kBadAppBlockSize[] = "Unsupported Application Extension block size";
inline constexpr char kUnknownBlock[] = "Unknown GIF block type";
inline constexpr char kUnsupportedObject[] = "Object type not supported for operation";
inline constexpr char kPrematureEnd[] = "Premature end of data";
inline constexpr char kScanLineRange[] = "Scan line index out of range";
inline constexpr char kUnsupportedClipboard[] = "Unsupported clipboard format";

} // namespace GIFImage::Msg
