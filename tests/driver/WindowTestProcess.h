// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Prepares the test process for opening the game's window, once: no sound
// device (a test that records sound picks SDL's disk driver itself first),
// controller input whichever window has the focus, and a display that stays
// up while the game closes its window and opens it again.
void prepareWindowTestProcess();
