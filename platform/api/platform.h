// The platform services the engine calls, under their Win32 names.
// On Windows this is the system's own windows.h, ddraw.h and dsound.h; elsewhere
// the same subset is declared here and one backend (headless or SDL) implements it.
// Everything that names a platform type or call includes this one header, so the
// Windows macros (DrawText, PlaySound, ...) rename the same way in every file.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The other system headers need windows.h before them.
#include <ddraw.h>
#include <dsound.h>
#include <mmsystem.h>
#else
#include "platform/api/ddraw_api.h"
#include "platform/api/dsound_api.h"
#include "platform/api/win32_api.h"
#endif
