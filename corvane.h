// Everything a Corvane game uses, in one include: the engine object Corvane
// (window, frame buffer, drawing, text, keyboard, mouse, sound) and the game's
// two hooks, pictures and their TIFF files, the display's pixel format, sounds,
// files, vectors, matrices and the camera, and the debug log.
#pragma once

#include "display/pixel_format.h"
#include "files/file.h"
#include "image/image.h"
#include "math/camera.h"
#include "math/matrix.h"
#include "math/vector.h"
#include "shell/debugger.h"
#include "shell/status_codes.h"
#include "shell/windx.h"
#include "sound/soundx.h"
#include "tiff/tiff_file.h"
