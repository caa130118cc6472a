#pragma once

#include "core/control/CommandLine.h"

// Carries out a command of the command line on the program running in this
// session, over the session bus, printing what it gives back. Starts the
// program, hidden, first when none runs and the command adds or loads.
// Returns the program's exit status.
int runRemoteCommand(const CommandLine &line);

// Asks the program running in this session to show and raise its window.
bool showRunningWindow();
