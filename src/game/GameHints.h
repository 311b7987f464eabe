#pragma once

// The play screen's hint overlays, when the build has them.
#if __has_include("effects/HintOverlay.h")
#include "effects/HintOverlay.h"
#define VM_HAVE_HINTS 1
#else
// Until the play-screen hints exist the screen opens none.
class HintOverlay {};
#define VM_HAVE_HINTS 0
#endif
