// SPDX-License-Identifier: GPL-3.0-or-later
// Sanitised test runs only. SDL and libGLX load D-Bus, the GL libraries and the
// Mesa driver at run time and unload them when the last window closes; their
// allocations then lose their module name and the leak checker can no longer
// match them against the suppressions. Loading the libraries once more with
// RTLD_NODELETE keeps them mapped until the process ends, and the leak check
// runs from an exit handler registered here, before any library registers its
// own teardown, so it sees the process as the tests left it.
#include <dlfcn.h>
#include <sanitizer/lsan_interface.h>

#include <cstdlib>
#include <initializer_list>

namespace {

[[gnu::constructor]] void pinGraphicsLibraries()
{
    for (const char* name : {"libGL.so.1", "libGLX_mesa.so.0", "libSDL2-2.0.so.0", "libdbus-1.so.3",
                             "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(name, RTLD_LAZY | RTLD_NODELETE);
    std::atexit([] { __lsan_do_leak_check(); });
}

} // namespace
