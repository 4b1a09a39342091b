#include "platform/api/platform.h"
#include "platform/web/web_program.h"

// The program starts as on Windows, in the engine's WinMain. Naming WinMain here
// also makes the linker take it (and the hooks it calls) from the libraries.
int main() {
    return web::RunProgram(WinMain);
}
