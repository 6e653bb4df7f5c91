// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// On Windows, zorvel.exe is a GUI program and has no console of its own: what it
// prints would go nowhere. Before printing, this connects standard output and
// standard error that lead nowhere to the console of the program that started
// it (a Command Prompt or PowerShell), if there is one. Output that was
// redirected to a file or a pipe stays where it goes. Elsewhere it does nothing.
void useParentConsoleForOutput();
