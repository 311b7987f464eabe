// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The OpenGL driver behind the current context.
class GlDriver {
public:
    // Writes its vendor, version and renderer to the log.
    static void log();
    // Writes the missing names to standard error and returns false when the
    // driver lacks one of the extensions the game needs.
    static bool hasRequiredExtensions();

    // Reads, once a context is made and current, whether its renderer draws
    // in software. VELLOMAR_RENDERER=software or =accelerated overrides the
    // renderer's own report (tests run the accelerated drawing that way).
    static void identify();
    // Whether the last context identified renders in software: only there
    // the game takes the means that pay on a renderer whose fill is the CPU
    // (redrawing changed regions, cheaper sparkles); false before any context.
    static bool rendersInSoftware();
    // Whether a renderer reporting itself by this name draws in software.
    static bool isSoftwareRendererName(const char* renderer);
};
