#include "tools/corvane-replay/game_reset.h"

#include <new>

#include "game/game.h"

namespace replay {

void ResetGame() {
    background.~Image();
    ::new (&background) Image();
    alien.~Alien();
    ::new (&alien) Alien();
    world.~World();
    ::new (&world) World();
    animCounter = 0;
    escapePressed = 0;
}

}  // namespace replay
