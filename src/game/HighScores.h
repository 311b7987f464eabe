// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

class Dialog;

// The high-score side of a finished game, supplied by the main menu so that
// the play screen needs no menu code: whether a score earns a place, the
// dialog that asks for the name, and the entry itself.
class HighScores {
public:
    virtual ~HighScores() = default;
    virtual bool qualifies(int page, int score) const = 0;
    virtual void insert(int page, int score, const std::string& name) = 0;
    // A new name dialog showing the score that earned the place, ready to be
    // pushed; the play screen owns it while open.
    virtual std::unique_ptr<Dialog> createNameDialog(int score) = 0;
    // The text the player typed into a dialog made by createNameDialog.
    virtual std::string enteredName(const Dialog& nameDialog) const = 0;
};
