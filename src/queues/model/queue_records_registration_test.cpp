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

TEST_F(ApiRecords, OptionalMembersAreRegisteredAndEmptyWhenAbsent) {
    const BindingProperty config = ToValue(QueueGameTypeConfig{});
    const BindingProperty custom = ToValue(QueueCustomGame{});
    for (const BindingProperty* member :
         {config.FindMember("gameModeOverride"), config.FindMember("numPlayersPerTeamOverride"),
          custom.FindMember("gameServerRegions")}) {
        EXPECT_TRUE(member != nullptr && member->IsEmpty());
    }
}

TEST_F(ApiRecords, LoginSessionStatesByTheirWireNames) {
    auto convert = [this](std::string_view state) {
        BindingProperty body;
        body.MemberForWriting("state").SetString(state);
        LoginSession session;
        ConversionStatus status;
        ValueToNative(status, session, body, "<value>", registry);
        return status.Ok() ? std::to_string(static_cast<int>(session.state)) : std::string(status.Message());
    };
    EXPECT_EQ(convert("ERROR"), "3");
    EXPECT_EQ(convert("SUCCEEDED"), "1");
    EXPECT_EQ(convert("Succeeded"),
              "Succeeded is not a valid HuxGameQueuesLoginSessionStates enumeration value for 'state'.");
}

}  // namespace
}  // namespace Brix::Client::GameQueues::Api
