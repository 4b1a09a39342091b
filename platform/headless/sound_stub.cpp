#include "platform/headless/reset_parts.h"

namespace headless::detail {
void ResetSound() {}
}  // namespace headless::detail
