#pragma once

// The OpenGL driver behind the current context.
class GlDriver {
public:
    // Writes its vendor, version and renderer to the log.
    static void log();
    // Whether the current context draws on the processor (Mesa's llvmpipe,
    // softpipe and swrast) rather than on a graphics card.
    static bool rendersInSoftware();
    // Writes the missing names to standard error and returns false when the
    // driver lacks one of the extensions the game needs.
    static bool hasRequiredExtensions();
};
