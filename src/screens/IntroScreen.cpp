// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/IntroScreen.h"

#include "app/Application.h"
#include "objects/Texture.h"
#include "screens/MenuDrawing.h"

#include <GL/gl.h>

IntroScreen::IntroScreen(FilePack& pack)
    : m_picture(Texture::load(&pack, kPicture, TextureWrap::Clamp, TextureMipmaps::None))
{
}

IntroScreen::~IntroScreen() = default;

void IntroScreen::activate()
{
    const Camera& camera = Application::get().camera();
    MenuDrawing::setIntroProjection(float(camera.logicalWidth()), float(camera.logicalHeight()));
    Window::activate();
}

void IntroScreen::render()
{
    MenuDrawing::clearToBlack();
    MenuDrawing::drawQuad(m_picture.get(), -112.0f, -212.0f, 912.0f, 812.0f, 0.0f, 1.0f, false);
}
