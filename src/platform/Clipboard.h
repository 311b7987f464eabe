// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The system clipboard's plain text. Tests install their own clipboard so a
// paste can be checked without a desktop.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    virtual bool hasText() const;
    virtual std::string text() const;
    virtual void setText(const std::string& text);

    static Clipboard& current();
    // Not owned; null brings the system clipboard back.
    static void install(Clipboard* replacement);
};
