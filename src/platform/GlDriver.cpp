// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GlDriver.h"

#include "platform/PlatformWindow.h"
#include "utils/Log.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* requiredExtensions[] = {"GL_ARB_multitexture"};

// Mesa's llvmpipe, softpipe and swrast, and the software fallbacks of other systems.
constexpr const char* softwareRenderers[] = {"llvmpipe",
                                             "softpipe",
                                             "swrast",
                                             "Software Rasterizer",
                                             "GDI Generic",
                                             "Microsoft Basic Render Driver",
                                             "Apple Software Renderer"};

bool software = false;

const char* glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

} // namespace

void GlDriver::log()
{
    const std::string dashes(51, '-');
    Log::write("%s", dashes.c_str());
    Log::write("Vendor: %s", glText(GL_VENDOR));
    Log::write("Version: %s", glText(GL_VERSION));
    Log::write("Renderer: %s", glText(GL_RENDERER));
    Log::write("%s", dashes.c_str());
}

bool GlDriver::hasRequiredExtensions()
{
    std::string missing;
    for (const char* name : requiredExtensions)
        if (!PlatformWindow::extensionSupported(name))
            missing += std::string(name) + "\n";
    if (missing.empty())
        return true;
    std::fprintf(stderr, "Unable to initialize the following extensions:\n%s", missing.c_str());
    return false;
}

bool GlDriver::isSoftwareRendererName(const char* renderer)
{
    for (const char* name : softwareRenderers)
        if (std::strstr(renderer, name) != nullptr)
            return true;
    return false;
}

void GlDriver::identify()
{
    const char* choice = std::getenv("VELLOMAR_RENDERER");
    if (choice != nullptr && std::strcmp(choice, "software") == 0) {
        software = true;
        return;
    }
    if (choice != nullptr && std::strcmp(choice, "accelerated") == 0) {
        software = false;
        return;
    }
    // SDL's accelerated-visual attribute only echoes the request, so the
    // renderer's name is the report to go by.
    software = isSoftwareRendererName(glText(GL_RENDERER));
}

bool GlDriver::rendersInSoftware()
{
    return software;
}
