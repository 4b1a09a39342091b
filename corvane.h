/// @file
/// Everything a game made with Corvane uses, in one include: the engine object
/// Corvane with its window, frame buffer, drawing, text, input and sound; the
/// game's hooks initialize and run; pictures (Image, TiffFile) and the display's
/// pixel format; sounds (SoundX); files (File, ByteOrder, TextBuffer); vectors,
/// matrices and the camera; and the debug log (Debug). The platform calls the
/// engine makes (window messages, key codes such as VK_LEFT, DestroyWindow) come
/// with it under their Win32 names.
#pragma once

#include "display/pixel_format.h"
#include "files/byte_order.h"
#include "files/file.h"
#include "files/text_buffer.h"
#include "image/image.h"
#include "math/camera.h"
#include "math/matrix.h"
#include "math/vector.h"
#include "platform/api/platform.h"
#include "shell/debugger.h"
#include "shell/status_codes.h"
#include "shell/windx.h"
#include "sound/soundx.h"
#include "tiff/tiff_file.h"
