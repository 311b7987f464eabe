#include "app/CommandLine.h"
#include "screens/GameStartup.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const CommandLine command = CommandLine::parse(argc, argv);
    if (command.action() != CommandLine::Action::Run) {
        std::fputs(command.text().c_str(), command.exitCode() == 0 ? stdout : stderr);
        return command.exitCode();
    }
    return GameStartup::runProgram();
}
