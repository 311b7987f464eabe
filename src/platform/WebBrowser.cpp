// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WebBrowser.h"

#include "utils/Log.h"

#include <SDL.h>

#include <filesystem>

namespace {

WebBrowser::Opener& installedOpener()
{
    static WebBrowser::Opener opener;
    return opener;
}

bool openWithSystem(const std::string& address)
{
    if (SDL_OpenURL(address.c_str()) == 0)
        return true;
    Log::write("Could not open %s: %s", address.c_str(), SDL_GetError());
    return false;
}

} // namespace

bool WebBrowser::open(const std::string& address)
{
    if (installedOpener())
        return installedOpener()(address);
    return openWithSystem(address);
}

std::string WebBrowser::addressFor(const std::string& page)
{
    if (page.empty() || page.find("://") != std::string::npos)
        return page;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(page, error);
    return "file://" + (error ? page : absolute.lexically_normal().string());
}

void WebBrowser::setOpener(Opener opener)
{
    installedOpener() = std::move(opener);
}
