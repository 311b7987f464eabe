// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A modal message with an OK button, for errors the player must see.
class MessageBox {
public:
    static void showError(const std::string& title, const std::string& text);
};
