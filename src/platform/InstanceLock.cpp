// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const std::string& path)
{
    // Close-on-exec: a web browser the game starts must not keep the lock
    // after the game has ended.
    m_file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_file < 0) {
        m_error = errno;
        return;
    }
    if (::flock(m_file, LOCK_EX | LOCK_NB) == 0) {
        m_state = State::Held;
        return;
    }
    m_error = errno;
    m_state = m_error == EWOULDBLOCK ? State::HeldByAnother : State::Unavailable;
}

InstanceLock::~InstanceLock()
{
    if (m_file >= 0)
        ::close(m_file);
}
