// operation_name_test.cpp - operation names from methods and paths.
#include <gtest/gtest.h>

#include "rest/operation_name.h"

namespace {

using Brix::MethodCode;
using Brix::OperationName;

TEST(OperationName, DerivesIdentifiersFromMethodAndPath) {
    EXPECT_EQ(OperationName(MethodCode::Get, "/hux-game-queues/v1/queues/{id}"),
              "GetHuxGameQueuesV1QueuesById");
    EXPECT_EQ(OperationName(MethodCode::None, "hux-game-queues"), "HuxGameQueues");
    EXPECT_EQ(OperationName(MethodCode::Get, "/game-type-config/{gameTypeConfigId}/map/{mapId}"),
              "GetGameTypeConfigByGameTypeConfigIdMapByMapId");
    // "}" keeps the flag as it was; "!", "+", ".", "_" separate words like "/" and "-".
    EXPECT_EQ(OperationName(MethodCode::None, "{x}y"), "ByXy");
    EXPECT_EQ(OperationName(MethodCode::None, "a!b+c.d_e"), "ABCDE");
    // A function call has no method name, so only the path counts.
    EXPECT_EQ(OperationName(MethodCode::Function, "do_it"), "DoIt");
    EXPECT_EQ(OperationName(MethodCode::Options, ""), "Options");
}

}  // namespace
