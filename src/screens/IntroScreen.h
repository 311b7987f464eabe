// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Window.h"

#include <memory>

class FilePack;
class Texture;

// The picture shown while the game loads; it never receives input.
class IntroScreen : public Window {
public:
    static constexpr const char* kPicture = "mui/bgs/intro.jpg";

    explicit IntroScreen(FilePack& pack);
    ~IntroScreen() override;

    void activate() override;
    void render() override;

private:
    std::unique_ptr<Texture> m_picture;
};
