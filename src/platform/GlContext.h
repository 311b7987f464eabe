// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

struct SDL_Window;

// An OpenGL 1.x compatibility context, either on a hidden window of its own
// (tests, tools, off-screen work) or on a window somebody else owns. The
// context is made current on creation. Whoever creates or destroys the
// game's context calls Texture::deleteAll() around it (textures upload
// themselves again when next bound) or Texture::reloadAll() after it.
class GlContext {
public:
    // Null when no display or no OpenGL is available; the reason is in lastError().
    static std::unique_ptr<GlContext> createHidden(int width, int height);
    // A context on an existing window created with SDL_WINDOW_OPENGL (not owned).
    static std::unique_ptr<GlContext> createOn(SDL_Window& window);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    void makeCurrent();
    // Leaves no context current on this thread.
    void releaseCurrent();
    void swapBuffers();
    int width() const { return m_width; }
    int height() const { return m_height; }
    SDL_Window* window() const { return m_window; }

    // True while any OpenGL context is current on this thread.
    static bool hasCurrent();
    // An OpenGL entry point of the current context, or null.
    static void* procAddress(const char* name);
    static bool hasExtension(const char* name);
    // The desktop's colour depth in bits per pixel (32 when unknown).
    static int desktopBitsPerPixel();
    static const std::string& lastError();

private:
    GlContext() = default;
    bool attach(SDL_Window& window);

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    bool m_ownsWindow = false;
    bool m_ownsVideo = false;
    int m_width = 0;
    int m_height = 0;
};
