#pragma once
// The JPEG-2000 codec library the image loader loads by name ("j2k-codec.dll")
// and binds entry point by entry point. This layer provides it, backed by
// OpenJPEG; plat::Get().modules can report it absent.

namespace plat {

extern const char* const kJ2kCodecModuleName; // "j2k-codec.dll"

// The stream the codec reads: three operations on the caller's user value.
struct J2kCallbacks {
    // Seeks to offset from the start; 0 on success.
    int (*seek)(void* user, int offset);
    // Reads up to size bytes; the number read.
    int (*read)(void* buffer, int size, void* user);
    // Called when the codec is done with the stream.
    void (*close)(void* user);
};

// The entry points, by the names they are exported under.
using J2kGetVersionFn = int (*)();                                    // "_J2K_getVersion@0"
using J2kOpenCustomFn = void* (*)(void* user, J2kCallbacks* stream); // "_J2K_OpenCustom@8"
using J2kOpenFileFn = void* (*)(const char* fileName);                // "_J2K_OpenFile@4"
using J2kCloseFn = void (*)(void* handle);                            // "_J2K_Close@4"
// Width, height and number of components; 0 on success.
using J2kGetInfoFn = int (*)(void* handle, int* width, int* height, int* components); // "_J2K_GetInfo@16"
using J2kGetResolutionDimensionsFn = int (*)(void* handle, int level, int* width,
                                             int* height); // "_J2K_GetResolutionDimensions@16"
// Decodes into *buffer (*size bytes, rows *pitch bytes apart). Options:
// "bpp=4" gives bytes B, G, R, A per pixel, "bpp=3" B, G, R; "rl=0" (full
// resolution) is the only level offered. 0 on success.
using J2kDecodeFn = int (*)(void* handle, unsigned char** buffer, int* size, const char* options,
                            int* pitch);                      // "_J2K_Decode@20"
using J2kGetLastErrorFn = int (*)();                          // "_J2K_getLastError@0"
using J2kGetErrorStrFn = const char* (*)(int code);           // "_J2K_getErrorStr@4"

// The address of the named entry point of the codec, or null.
void* J2kCodecExport(const char* name);

} // namespace plat
