// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowManager.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

// The window named by the check property of `window`, or None.
Window checkWindowOf(Display* display, Window window, Atom check)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    Window named = None;
    if (XGetWindowProperty(display, window, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &remaining, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data != nullptr)
        named = Window(*reinterpret_cast<unsigned long*>(data));
    if (data != nullptr)
        XFree(data);
    return named;
}

// A manager names its own window on the root window and again on that
// window; a manager that has gone may leave the first name behind.
bool managerRunsOn(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    XSync(display, False);
    const auto previous = XSetErrorHandler(ignoreError);
    const Window named = checkWindowOf(display, DefaultRootWindow(display), check);
    const bool runs = named != None && checkWindowOf(display, named, check) == named;
    XSync(display, False);
    XSetErrorHandler(previous);
    return runs;
}

#endif

} // namespace

bool WindowManager::runs(SDL_Window& window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(&window, &info) != SDL_TRUE)
        return true;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11)
        return managerRunsOn(info.info.x11.display);
#endif
    return true;
}
