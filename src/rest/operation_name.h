// operation_name.h - the identifier of an operation, derived from its method and path.
#pragma once

#include <string>
#include <string_view>

#include "rest/method_code.h"

namespace Brix {

// OperationName turns a method and a path into an identifier: GET with
// "/hux-game-queues/v1/queues/{id}" gives "GetHuxGameQueuesV1QueuesById". With MethodCode::None
// only the path is used, which is how a short name becomes a name prefix ("HuxGameQueues").
std::string OperationName(MethodCode method, std::string_view path);

}  // namespace Brix
