// The running program's file: the real program's, or the one a test stands in.
#include <string>

#include "platform/common/program_file.h"
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

std::string ProgramFile() {
    return StandIn().empty() ? programfile::RunningProgram() : StandIn();
}
}  // namespace detail

}  // namespace headless
