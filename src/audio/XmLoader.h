// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MusicModule.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Parses an XM module from memory. Nothing when the bytes are not a module
// or break a limit; a truncated file loads with the missing bytes as zeros.
std::unique_ptr<MusicModule> loadXmModule(const std::uint8_t* bytes, std::size_t size,
                                          int globalVolume);
