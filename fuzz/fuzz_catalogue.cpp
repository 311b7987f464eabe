// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a compiled catalogue: every translation kept must
// be UTF-8 with the conversions of its English text.
#include "utils/Catalogue.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Catalogue catalogue;
    if (!catalogue.load(data, size) && !catalogue.empty())
        std::abort();
    return 0;
}
