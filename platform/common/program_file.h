// The running program's own file, as GetModuleFileNameA names it on the
// backends without Windows.
#pragma once

#include <string>

#include "platform/api/platform.h"

namespace programfile {

// The program's file as the system names it; empty when the system cannot tell.
std::string RunningProgram();

// GetModuleFileNameA's answer for `path`: copies it into fileName, which holds
// `size` characters, and returns its length; a longer path is cut to size - 1
// characters and `size` is returned. Nothing is copied when size is 0.
DWORD CopyFileName(const std::string& path, LPSTR fileName, DWORD size);

}  // namespace programfile
