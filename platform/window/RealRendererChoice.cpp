#include "platform/window/RealRendererChoice.h"

#include <SDL.h>
#include <cstring>
#include <dirent.h>
#include <initializer_list>

namespace plat {

namespace {

// Whether the current OpenGL context draws on the CPU (Mesa's software
// drivers name themselves so).
bool OpenGLInSoftware()
{
    using GetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString)
        return false;
    const unsigned kRenderer = 0x1F01; // GL_RENDERER
    const char* name = reinterpret_cast<const char*>(getString(kRenderer));
    if (!name)
        return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software))
            return true;
    return false;
}

// Whether the machine has a GPU that OpenGL could draw with: a render node
// of the kernel's display drivers. Without one, OpenGL would be drawn in
// software, and even trying it loads its whole driver.
bool HasRenderNode()
{
    DIR* dri = opendir("/dev/dri");
    if (!dri)
        return false;
    bool found = false;
    while (dirent* entry = readdir(dri))
        if (std::strncmp(entry->d_name, "renderD", 7) == 0) {
            found = true;
            break;
        }
    closedir(dri);
    return found;
}

SDL_Renderer* SoftwareRenderer(SDL_Window* window)
{
    // The window's own shared-memory surface, not one drawn through
    // OpenGL again.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

} // namespace

SDL_Renderer* CreateCheapestRenderer(SDL_Window* window)
{
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (named && *named) {
        if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0))
            return renderer;
        return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (!HasRenderNode())
        if (SDL_Renderer* software = SoftwareRenderer(window))
            return software;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer)
        return SoftwareRenderer(window);
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0 ||
        !OpenGLInSoftware())
        return renderer;
    SDL_DestroyRenderer(renderer);
    if (SDL_Renderer* software = SoftwareRenderer(window))
        return software;
    return SDL_CreateRenderer(window, -1, 0);
}

} // namespace plat
