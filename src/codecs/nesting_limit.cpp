// nesting_limit.cpp - the shared text of the nesting limit.
#include "codecs/nesting_limit.h"

#include "logging/message_formatter.h"

namespace Brix {

std::string NestingTooDeepText() {
    return FormatMessage("The document is nested deeper than %1 levels.", kMaxNestingDepth);
}

}  // namespace Brix
