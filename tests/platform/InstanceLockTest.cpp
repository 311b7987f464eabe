// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceLock.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child process that takes the lock, reports through the pipe and waits to be killed.
pid_t holdInChild(const char* path)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const InstanceLock lock(path);
        const char held = lock.state() == InstanceLock::State::Held ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1)
            std::_Exit(1);
        ::pause();
        std::_Exit(0);
    }
    ::close(ready[1]);
    char held = 'n';
    if (::read(ready[0], &held, 1) != 1)
        held = 'n';
    ::close(ready[0]);
    return held == 'y' ? child : -1;
}

} // namespace

TEST(InstanceLock, OneHolderAtATimeAndTheLockEndsWithItsHolder)
{
    const TempDir dir;
    {
        const InstanceLock first("game.lock");
        EXPECT_EQ(first.state(), InstanceLock::State::Held);
        EXPECT_EQ(InstanceLock("game.lock").state(), InstanceLock::State::HeldByAnother);
    }
    EXPECT_EQ(InstanceLock("game.lock").state(), InstanceLock::State::Held);

    // A holder killed without a word leaves nothing behind.
    const pid_t holder = holdInChild("game.lock");
    ASSERT_GT(holder, 0);
    EXPECT_EQ(InstanceLock("game.lock").state(), InstanceLock::State::HeldByAnother);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(InstanceLock("game.lock").state(), InstanceLock::State::Held);

    // A folder that cannot hold the file makes the lock unavailable.
    const InstanceLock lock("missing/game.lock");
    EXPECT_EQ(lock.state(), InstanceLock::State::Unavailable);
    EXPECT_NE(lock.error(), 0);
}

TEST(InstanceLock, AProgramStartedByTheHolderDoesNotKeepTheLock)
{
    const TempDir dir;
    auto lock = std::make_unique<InstanceLock>("game.lock");
    ASSERT_EQ(lock->state(), InstanceLock::State::Held);
    // As a web browser the game opens outlives the game. The pipe closes
    // when the child's program has started.
    int started[2];
    ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
    const pid_t browser = ::fork();
    if (browser == 0) {
        ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(started[1]);
    char byte = 0;
    EXPECT_EQ(::read(started[0], &byte, 1), 0);
    ::close(started[0]);
    lock.reset();
    EXPECT_EQ(InstanceLock("game.lock").state(), InstanceLock::State::Held);
    ::kill(browser, SIGKILL);
    ::waitpid(browser, nullptr, 0);
}
