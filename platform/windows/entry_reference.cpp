// Windows programs start in the engine's WinMain (shell/entry_point.cpp), which
// sits in the engine library. MinGW's start-up code that calls it is linked after
// every library, too late to pull WinMain out of the archive, so each program
// carries this reference to it.
#include "platform/api/platform.h"

[[gnu::used]] static int(WINAPI* const entryPointReference)(HINSTANCE, HINSTANCE, LPSTR,
                                                            int) = &WinMain;
