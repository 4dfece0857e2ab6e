#pragma once
// Which SDL renderer a window presents its frames through.
struct SDL_Renderer;
struct SDL_Window;

namespace plat {

// The renderer that costs least for the window: SDL's first choice (a GPU
// behind OpenGL, where there is one), except where there is no GPU (no render
// node of the display drivers) or its OpenGL is drawn by the CPU anyway: there
// SDL's software renderer, writing straight into the window's shared memory,
// does the same for a fraction of the work and memory. A renderer named in
// SDL_RENDER_DRIVER is taken as it is. Null when the window can have none.
SDL_Renderer* CreateCheapestRenderer(SDL_Window* window);

} // namespace plat
