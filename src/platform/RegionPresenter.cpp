// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegionPresenter.h"

#include "platform/GlDriver.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

using QueryExtensions = const char* (*)(void*, int);

template <typename Function> Function glxFunction(const char* name)
{
    return reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
}

bool hasWord(const char* list, const char* word)
{
    const std::size_t length = std::strlen(word);
    for (const char* at = list; (at = std::strstr(at, word)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends)
            return true;
    }
    return false;
}

bool canCopySubBuffer(Display* display)
{
    auto extensions = glxFunction<QueryExtensions>("glXQueryExtensionsString");
    if (extensions == nullptr)
        return false;
    const char* list = extensions(display, DefaultScreen(display));
    return list != nullptr && hasWord(list, "GLX_MESA_copy_sub_buffer");
}

} // namespace
#endif

void RegionPresenter::attach(SDL_Window& window)
{
    detach();
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(&window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return;
    Display* display = info.info.x11.display;
    if (!GlDriver::rendersInSoftware() || !canCopySubBuffer(display))
        return;
    m_copy = glxFunction<CopySubBuffer>("glXCopySubBufferMESA");
    m_display = display;
    m_drawable = info.info.x11.window;
#endif
}

void RegionPresenter::detach()
{
    m_copy = nullptr;
    m_display = nullptr;
    m_drawable = 0;
}

void RegionPresenter::present(const BufferRect& rect) const
{
    if (m_copy != nullptr && rect.width > 0 && rect.height > 0)
        m_copy(m_display, m_drawable, rect.x, rect.y, rect.width, rect.height);
}
