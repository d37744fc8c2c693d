// Bounds that keep every model tree shallow enough to be walked recursively.
#pragma once

#include "platform/exception.h"

namespace Vexar {

// Deepest nesting of expression nodes (function arguments, parenthesised
// lists) and of condition groups. Generation and copying recurse over these
// trees, so the model refuses to grow them deeper; the parser reports such
// input as a parse error.
constexpr int MaxNestingDepth = 200;

// Raised when a node would be added below the deepest allowed level.
class EVXNestingError : public Exception {
 public:
  EVXNestingError() : Exception("Nesting is deeper than 200 levels") {}
};

}  // namespace Vexar
