#include "app/CommandLine.h"
#include "platform/HugePageHeap.h"
#include "screens/GameStartup.h"

#include <chrono>
#include <cstdio>

namespace {

// Enough for the pictures and buffers of the start-up, with room to spare.
constexpr std::size_t kStartUpHeap = std::size_t(64) << 20;

} // namespace

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    HugePageHeap::reserve(kStartUpHeap);
    const CommandLine command = CommandLine::parse(argc, argv);
    if (command.action() == CommandLine::Action::FirstFrameTime)
        return GameStartup::runProgram(start);
    if (command.action() != CommandLine::Action::Run) {
        std::fputs(command.text().c_str(), command.exitCode() == 0 ? stdout : stderr);
        return command.exitCode();
    }
    return GameStartup::runProgram();
}
