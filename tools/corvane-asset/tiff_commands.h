// corvane-asset's TIFF commands: info, topng and totiff through the engine's own
// reader and writer, and the verdict that info and check give.
#pragma once

#include <string>

#include "tools/corvane-asset/asset_tool.h"

class TiffFile;

namespace asset {

// Help texts of the commands.
extern const char kInfoHelp[];
extern const char kToPngHelp[];
extern const char kToTiffHelp[];

// What the engine's reader does with the file, checked quietly; tiff keeps what
// it read. reason says why for anything but Outcome::Loads, in one sentence.
Outcome JudgeTiff(const std::string& path, TiffFile& tiff, std::string& reason);

// The commands; each returns the exit status.
int TiffInfo(const char* path);
int ToPng(const char* in, const char* out);
int ToTiff(const char* in, const char* out);

}  // namespace asset
