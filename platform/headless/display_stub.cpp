#include "platform/headless/reset_parts.h"

namespace headless::detail {
void ResetDisplay() {}
}  // namespace headless::detail
