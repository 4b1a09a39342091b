// Where the game's pictures are: the Images folder in the folder the game
// starts in.
#pragma once

// Ends the program with exit code -1 after one "Corvane Error" box naming the
// folder it looked for, when that folder is not there: without it every picture
// would report itself missing, one box at a time. A folder that lacks only some
// pictures passes; each missing one reports itself when it is loaded.
void RequirePicturesFolder();
