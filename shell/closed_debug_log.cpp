#include "shell/debugger.h"

// The log of a program that opens it only once it knows what it is asked to
// do: linked as an object, this definition takes the place of the engine's
// (shell/debug_log.cpp), so nothing is opened during static construction.
Debugger Debug{Debugger::Closed{}};
