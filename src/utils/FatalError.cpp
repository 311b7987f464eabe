// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/FatalError.h"

#include "utils/Log.h"

#include <cstdio>
#include <cstdlib>

namespace {

FatalError::MessageBox& messageBox()
{
    static FatalError::MessageBox show;
    return show;
}

} // namespace

std::string FatalError::describe(const std::string& condition, const std::string& module,
                                 const std::string& file)
{
    std::string text = "Failed condition \"" + condition + "\" in " + module;
    if (!file.empty())
        text += " (file: " + file + ")";
    return text;
}

void FatalError::setMessageBox(MessageBox show)
{
    messageBox() = std::move(show);
}

void FatalError::raise(const std::string& condition, const std::string& module,
                       const std::string& file)
{
    static bool raising = false;
    const std::string text = describe(condition, module, file);
    std::fprintf(stderr, "Vellomar: %s\n", text.c_str());
    if (!raising) { // a failure inside the message box must not loop
        raising = true;
        Log::write("%s", text.c_str());
        if (messageBox())
            messageBox()("Vellomar", text);
    }
    std::exit(EXIT_FAILURE);
}
