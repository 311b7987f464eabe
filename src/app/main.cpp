#include "screens/GameStartup.h"

int main()
{
    return GameStartup::runProgram();
}
