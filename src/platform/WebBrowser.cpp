#include "platform/WebBrowser.h"

#include "app/Log.h"

#include <SDL.h>

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

void WebBrowser::setOpener(Opener opener)
{
    installedOpener() = std::move(opener);
}
