#include "shell/windx.h"

// DirectDraw and DirectSound start-up and presentation are not built yet: the
// steps fail, so start-up never reports success for them.
bool WinDX::StartDirectDraw() { return false; }
bool WinDX::CreateSurface() { return false; }
bool WinDX::StartDirectSound() { return false; }
int WinDX::ViewUpdate() { return 1; }
