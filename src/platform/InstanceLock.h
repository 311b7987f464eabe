// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The player's files belong to one running copy of the game at a time: a
// second copy would overwrite the first one's high scores and bring back its
// finished games. The lock is an flock on a file beside those files, so the
// kernel drops it with the process however that ends, and a killed game
// never blocks the next start.
class InstanceLock {
public:
    enum class State { Held, HeldByAnother, Unavailable };

    // Tries the lock once, without waiting; the file is made when missing.
    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return m_state; }
    // Why the lock is Unavailable (errno).
    int error() const { return m_error; }

private:
    int m_file = -1;
    State m_state = State::Unavailable;
    int m_error = 0;
};
