#pragma once

// The OpenGL driver behind the current context.
class GlDriver {
public:
    // Writes its vendor, version and renderer to the log.
    static void log();
    // Writes the missing names to standard error and returns false when the
    // driver lacks one of the extensions the game needs.
    static bool hasRequiredExtensions();
};
