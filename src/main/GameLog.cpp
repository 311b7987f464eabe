// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GameLog.h"

#include "utils/GameFolders.h"
#include "utils/Log.h"
#include "utils/PlayerFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

GameLog::GameLog()
{
    const std::string path = GameFolders::current().stateFile(kFileName);
    if (!PlayerFile::makeFolderFor(path) || !Log::open(path))
        std::fprintf(stderr, "vellomar: cannot write the log %s: %s\n", path.c_str(),
                     std::strerror(errno));
}

GameLog::~GameLog()
{
    Log::close();
}
