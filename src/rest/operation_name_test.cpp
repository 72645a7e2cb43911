// operation_name_test.cpp - operation names and method codes.
#include <gtest/gtest.h>

#include "rest/method_code.h"
#include "rest/operation_name.h"

namespace {

using Brix::MethodCode;
using Brix::OperationName;

TEST(OperationName, DerivesIdentifiersFromMethodAndPath) {
    EXPECT_EQ(OperationName(MethodCode::Get, "/hux-game-queues/v1/queues/{id}"),
              "GetHuxGameQueuesV1QueuesById");
    EXPECT_EQ(OperationName(MethodCode::None, "hux-game-queues"), "HuxGameQueues");
    EXPECT_EQ(OperationName(MethodCode::Delete, "/a/{+rest}"), "DeleteAByRest");
    EXPECT_EQ(OperationName(MethodCode::Get, "/game-type-config/{gameTypeConfigId}/map/{mapId}"),
              "GetGameTypeConfigByGameTypeConfigIdMapByMapId");
    // "}" keeps the flag as it was; "!", "+", ".", "_" separate words like "/" and "-".
    EXPECT_EQ(OperationName(MethodCode::None, "{x}y"), "ByXy");
    EXPECT_EQ(OperationName(MethodCode::None, "a!b+c.d_e"), "ABCDE");
    // A function call has no method name, so only the path counts.
    EXPECT_EQ(OperationName(MethodCode::Function, "do_it"), "DoIt");
    EXPECT_EQ(OperationName(MethodCode::Options, ""), "Options");
}

TEST(MethodCode, NamesAndHostCodes) {
    EXPECT_EQ(Brix::MethodName(MethodCode::Delete), "DELETE");
    EXPECT_EQ(Brix::MethodName(MethodCode::Put), "PUT");
    EXPECT_EQ(Brix::MethodName(MethodCode::Function), "");
    EXPECT_EQ(Brix::MethodName(MethodCode{42}), "");
    EXPECT_EQ(Brix::MethodFromHost(8), MethodCode::Function);
    EXPECT_EQ(Brix::MethodFromHost(9), MethodCode::None);
    EXPECT_EQ(Brix::MethodFromHost(0), MethodCode::None);
}

}  // namespace
