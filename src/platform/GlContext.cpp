// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GlContext.h"

#include "platform/GlDriver.h"

#include <SDL.h>

#include <cstring>

namespace {

std::string& errorText()
{
    static std::string text;
    return text;
}

void remember(const char* what)
{
    errorText() = std::string(what) + ": " + SDL_GetError();
}

void requestCompatibilityContext()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0); // as the game's window
}

} // namespace

std::unique_ptr<GlContext> GlContext::createHidden(int width, int height)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        remember("SDL video");
        return nullptr;
    }
    std::unique_ptr<GlContext> context(new GlContext());
    context->m_ownsVideo = true;
    requestCompatibilityContext();
    SDL_Window* window =
        SDL_CreateWindow("Vellomar", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                         height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        remember("window");
        return nullptr;
    }
    context->m_ownsWindow = true;
    context->m_window = window;
    if (!context->attach(*window))
        return nullptr;
    return context;
}

std::unique_ptr<GlContext> GlContext::createOn(SDL_Window& window)
{
    std::unique_ptr<GlContext> context(new GlContext());
    if (!context->attach(window))
        return nullptr;
    return context;
}

bool GlContext::attach(SDL_Window& window)
{
    m_window = &window;
    m_context = SDL_GL_CreateContext(&window);
    if (m_context == nullptr) {
        remember("OpenGL context");
        return false;
    }
    SDL_GL_GetDrawableSize(&window, &m_width, &m_height);
    makeCurrent();
    GlDriver::identify();
    return true;
}

GlContext::~GlContext()
{
    if (m_context != nullptr) {
        releaseCurrent();
        SDL_GL_DeleteContext(m_context);
    }
    if (m_ownsWindow)
        SDL_DestroyWindow(m_window);
    if (m_ownsVideo)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GlContext::makeCurrent()
{
    SDL_GL_MakeCurrent(m_window, m_context);
}

void GlContext::releaseCurrent()
{
    if (SDL_GL_GetCurrentContext() == m_context)
        SDL_GL_MakeCurrent(m_window, nullptr);
}

void GlContext::swapBuffers()
{
    SDL_GL_SwapWindow(m_window);
}

bool GlContext::hasCurrent()
{
    return SDL_GL_GetCurrentContext() != nullptr;
}

void* GlContext::procAddress(const char* name)
{
    if (!hasCurrent())
        return nullptr;
    return SDL_GL_GetProcAddress(name);
}

bool GlContext::hasExtension(const char* name)
{
    return hasCurrent() && SDL_GL_ExtensionSupported(name) == SDL_TRUE;
}

int GlContext::desktopBitsPerPixel()
{
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 32;
    return static_cast<int>(SDL_BITSPERPIXEL(mode.format));
}

const std::string& GlContext::lastError()
{
    return errorText();
}
