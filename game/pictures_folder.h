// Where the game's pictures are: the Images folder in the folder the game runs
// in.
#pragma once

// Makes sure the folder the game runs in holds Images. When the working folder
// has none but the program's own folder has one (the program was started from a
// console or a shortcut somewhere else), the game moves to the program's folder:
// it reads its pictures and writes debug.txt there from then on. When neither
// has one, one "Corvane Error" box names the folders it looked for and the
// program ends with exit code -1: without them every picture would report
// itself missing, one box at a time. A folder that lacks only some pictures
// passes; each missing one reports itself when it is loaded.
void RequirePicturesFolder();
