// queue_records_registration_test.cpp - the published records as registered and as generic values.
#include "queues/model/queue_records_registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/type_builder.h"
#include "binding/value_conversion.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues::Api {
namespace {

class ApiRecords : public testing::Test {
protected:
    ApiRecords() { RegisterApiRecords(registry, "HuxGameQueues", tags); }

    template <class T>
    BindingProperty ToValue(const T& native) {
        ConversionStatus status;
        BindingProperty value;
        NativeToValue(status, value, native, registry);
        EXPECT_TRUE(status.Ok()) << status.Message();
        return value;
    }

    const std::vector<std::string> tags{"Plugins", "Plugin hux-game-queues"};
    TypeRegistry registry;
};

TEST_F(ApiRecords, AQueueBecomesAValueWithEveryMemberAndItsNestedRecords) {
    EXPECT_EQ(registry.FindByName("HuxGameQueuesQueue"), registry.Find<Queue>());
    EXPECT_EQ(registry.Find<Queue>()->tags, tags);

    Queue queue;
    queue.category = QueueGameCategory::PvP;
    queue.gameTypeConfig.pickMode = "TeamBuilderDraftPickStrategy";
    queue.queueRewards.isIpEnabled = true;
    queue.minLevel = 4000000000u;
    const BindingProperty value = ToValue(queue);
    EXPECT_EQ(value.MemberCount(), 30u);
    EXPECT_EQ(value.Member("category").EnumNumber(), 2);
    EXPECT_EQ(value.Member("minLevel").AsUnsigned(), 4000000000u);
    EXPECT_EQ(value.Member("gameTypeConfig").MemberCount(), 22u);
    EXPECT_EQ(value.Member("gameTypeConfig").Member("pickMode").AsString(), "TeamBuilderDraftPickStrategy");
    EXPECT_TRUE(value.Member("queueRewards").Member("isIpEnabled").AsBool());
}

TEST_F(ApiRecords, OptionalMembersAreEmptyWhenAbsent) {
    EXPECT_TRUE(ToValue(QueueGameTypeConfig{}).FindMember("gameModeOverride")->IsEmpty());
    EXPECT_TRUE(ToValue(QueueGameTypeConfig{}).FindMember("numPlayersPerTeamOverride")->IsEmpty());
    EXPECT_TRUE(ToValue(QueueCustomGame{}).FindMember("gameServerRegions")->IsEmpty());

    QueueGameTypeConfig config;
    config.gameModeOverride = "VORNEK";
    config.numPlayersPerTeamOverride = 2;
    EXPECT_EQ(ToValue(config).Member("gameModeOverride").AsString(), "VORNEK");
    EXPECT_EQ(ToValue(config).Member("numPlayersPerTeamOverride").AsSigned(), 2);
    QueueCustomGame custom;
    custom.gameServerRegions = std::vector<std::string>{"OSTRAK1", "PELMO1"};
    EXPECT_EQ(ToValue(custom).Member("gameServerRegions").Element(1).AsString(), "PELMO1");
}

TEST_F(ApiRecords, LoginSessionStatesByNameOrNumber) {
    auto convert = [this](BindingProperty input) {
        BindingProperty body;
        body.MemberForWriting("state") = std::move(input);
        LoginSession session;
        ConversionStatus status;
        ValueToNative(status, session, body, "<value>", registry);
        return status.Ok() ? std::to_string(static_cast<int>(session.state)) : std::string(status.Message());
    };
    BindingProperty input;
    input.SetString("ERROR");
    EXPECT_EQ(convert(input), "3");
    input.SetString("SUCCEEDED");
    EXPECT_EQ(convert(input), "1");
    input.SetSigned(2);
    EXPECT_EQ(convert(input), "2");
    input.SetSigned(4);
    EXPECT_EQ(convert(input),
              "4 is not a valid HuxGameQueuesLoginSessionStates enumeration value for 'state'.");
    input.SetString("Succeeded");
    EXPECT_EQ(convert(input),
              "Succeeded is not a valid HuxGameQueuesLoginSessionStates enumeration value for 'state'.");
}

}  // namespace
}  // namespace Brix::Client::GameQueues::Api
