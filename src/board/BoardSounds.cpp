#include "board/BoardSounds.h"

#ifdef VM_HAVE_AUDIO
#include "audio/CSoundManager.h"
#endif

namespace {
BoardSounds::Listener& listener() {
    static BoardSounds::Listener l;
    return l;
}
} // namespace

void BoardSounds::play(int id, Restart restart) {
    if (listener()) {
        listener()(id, restart);
        return;
    }
#ifdef VM_HAVE_AUDIO
    CSoundManager::instance()->play(id, restart == Restart::Always
                                              ? CSoundManager::WhilePlaying::Restart
                                              : CSoundManager::WhilePlaying::Skip);
#endif
}

void BoardSounds::setListener(Listener l) { listener() = std::move(l); }
