// GetModuleFileNameA: the real program's file, or the one a test stands in.
#include "platform/common/program_file.h"

#include <string>

#include "platform/headless/control.h"
#include "platform/headless/headless_reset_parts.h"

namespace headless {
namespace {

std::string& StandIn() {
    static std::string path;
    return path;
}

}  // namespace

void SetProgramFile(const std::string& path) {
    StandIn() = path;
}

namespace detail {
void ResetProgramFile() {
    StandIn().clear();
}
}  // namespace detail

}  // namespace headless

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module != nullptr) return 0;
    const std::string& standIn = headless::StandIn();
    return programfile::CopyFileName(standIn.empty() ? programfile::RunningProgram() : standIn,
                                     fileName, size);
}
