// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary bytes as a plain and as a scrambled key-value file, and
// checks that a parsed store survives its written form.
#include "utils/KeyValueFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    KeyValueFile plain;
    plain.parseBuffer(bytes, size, true);
    KeyValueFile scrambled;
    scrambled.parseBuffer(bytes, size, true, "fuzz-key", 8);

    // Values without whitespace or comments must read back exactly.
    KeyValueFile back;
    const std::string written = plain.writtenForm();
    back.parseBuffer(written.data(), written.size(), true);
    for (const auto& [key, value] : plain.entries()) {
        if (value.find_first_of("\t\r\n\"") != std::string::npos ||
            value.find("//") != std::string::npos || key.find("//") != std::string::npos)
            return 0;
    }
    if (back.entries() != plain.entries())
        std::abort();
    return 0;
}
