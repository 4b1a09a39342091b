#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"

// The program starts as on Windows, in the engine's WinMain. Naming WinMain here
// also makes the linker take it (and the hooks it calls) from the libraries.
int main(int argc, char** argv) {
    return sdl::RunProgram(argc, argv, WinMain);
}
