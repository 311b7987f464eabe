// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// The software renderer takes and frees megabytes for each batch it draws;
// freed memory handed back to the system at once faulted in again page by
// page, a third of a menu frame's time. Up to this much now stays with us.
void ProcessMemory::keepFreed()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
}
