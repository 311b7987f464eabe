#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <cstdio>
void debugX11(unsigned id) { SDL_Window* w = SDL_GetWindowFromID(id); SDL_SysWMinfo info; SDL_VERSION(&info.version); SDL_GetWindowWMInfo(w, &info); Window child; int rx, ry; XTranslateCoordinates(info.info.x11.display, info.info.x11.window, DefaultRootWindow(info.info.x11.display), 0, 0, &rx, &ry, &child); Window root; int gx2, gy2; unsigned ww, hh, bb, dd; XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &gx2, &gy2, &ww, &hh, &bb, &dd); Window c2; int px, py, wx, wy; unsigned m; XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &c2, &px, &py, &wx, &wy, &m); int gx, gy; SDL_GetGlobalMouseState(&gx, &gy); int sx, sy, sw, sh; SDL_GetWindowPosition(w, &sx, &sy); SDL_GetWindowSize(w, &sw, &sh); fprintf(stderr, "DEBUG X pos %d %d size %u %u sdl %d %d %d %d pointer %d %d sdlglobal %d %d flags %x\n", rx, ry, ww, hh, sx, sy, sw, sh, px, py, gx, gy, SDL_GetWindowFlags(w)); }
