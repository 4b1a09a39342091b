// The game's own globals put back as a newly started program has them, for
// processes that run the game more than once (whole-frame tests, benchmarks):
// pass it as replay::Options::resetGame or to replay::ResetProgram.
#pragma once

namespace replay {

// Rebuilds the background, the alien and the world empty and zeroes the
// game's counters.
void ResetGame();

}  // namespace replay
