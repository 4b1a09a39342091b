#include "shell/debugger.h"

// The game's log, opened during static construction, before the entry point
// runs. This file holds nothing else: a program that defines Debug itself
// (shell/closed_debug_log.cpp) leaves it out of the link.
Debugger Debug;
