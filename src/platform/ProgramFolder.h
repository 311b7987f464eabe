// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The folder that holds the running program, ending with '/'; empty when the
// system cannot tell.
class ProgramFolder {
public:
    static std::string path();
};
