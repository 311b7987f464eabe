// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver/ShownPixels.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

int lowestBit(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::uint8_t channel(unsigned long pixel, unsigned long mask)
{
    return std::uint8_t((pixel & mask) >> lowestBit(mask));
}

} // namespace

Screenshot shownInWindow(const ScreenRect& client)
{
    Screenshot shot;
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return shot;
    Display* display = info.info.x11.display;
    XSync(display, False);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    XImage* image = XGetImage(display, info.info.x11.window, client.left, client.top,
                              unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return shot;
    shot.width = width;
    shot.height = height;
    shot.rgb.reserve(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            shot.rgb.push_back(channel(pixel, image->red_mask));
            shot.rgb.push_back(channel(pixel, image->green_mask));
            shot.rgb.push_back(channel(pixel, image->blue_mask));
        }
    XDestroyImage(image);
    return shot;
}
