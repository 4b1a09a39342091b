// The game's global objects. The engine drives the game through the hooks
// initialize and run, declared with the engine object in shell/windx.h.
#pragma once

#include "game/alien.h"
#include "game/world.h"
#include "image/image.h"

// The grass that fills the frame, loaded for plain drawing.
extern Image background;
// The player's sprite and the scroll position.
extern Alien alien;
// The placed objects and the cell grid.
extern World world;
// Frames since the last animation step; the walk cycle steps when it reaches 30.
extern int animCounter;
// Set to 1 by the frame that takes an Escape character; that frame then
// closes the window, which ends the program.
extern int escapePressed;
