/// @file
/// Where a symbolic link leads: the one question about folders the game asks
/// that Win32 has no simple call for. Every backend without Windows answers it
/// from the system's links; the Windows build does not read links.
#pragma once

#include <string>

/// The target the link at `path` names, as the link spells it; empty where
/// `path` is no link or the target cannot be read (always, on Windows).
std::string FolderLinkTarget(const char* path);
