// matchmaker_records_registration_test.cpp - the matchmaker records, their wire classes and wire objects.
#include "queues/model/matchmaker_records_registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/type_builder.h"
#include "binding/value_conversion.h"
#include "queues/model/matchmaker_records.h"

namespace Brix::Client::GameQueues::Lcds {
namespace {

TEST(LcdsRecords, AWireObjectBecomesAQueueConfigWithItsThrottleConfig) {
    TypeRegistry registry;
    WireClassNames wireClasses;
    RegisterLcdsRecords(registry, wireClasses, std::vector<std::string>{"Plugins"});
    // The wire class a matchmaker answer must carry to be read as a queue.
    EXPECT_EQ(*wireClasses.FindByTypeId(registry.Find<GameQueueConfig>()->id),
              "com.brixworks.platform.matchmaking.GameQueueConfig");

    BindingProperty wire;
    wire.MemberForWriting("queueState").SetString("ON");
    wire.MemberForWriting("maximumParticipantListSize").SetUnsigned(uint64_t{4294967295u});
    wire.MemberForWriting("lastToggledOffTime").SetUnsigned(uint64_t{1700000000123});
    wire.MemberForWriting("supportedMapIds").AppendElement().SetSigned(11);
    wire.MemberForWriting("matchingThrottleConfig").MemberForWriting("limit").SetSigned(int64_t{9000000000});
    GameQueueConfig expected;
    expected.queueState = "ON";
    expected.maximumParticipantListSize = 4294967295u;
    expected.lastToggledOffTime = 1700000000123;
    expected.supportedMapIds = {11};
    expected.matchingThrottleConfig.limit = 9000000000;
    GameQueueConfig queue;
    ConversionStatus status;
    ValueToNative(status, queue, wire, "<value>", registry);
    ASSERT_TRUE(status.Ok()) << status.Message();
    EXPECT_EQ(queue, expected);
    wire.MemberForWriting("numPlayersPerTeam").SetSigned(-1);
    ValueToNative(status, queue, wire, "<value>", registry);
    EXPECT_EQ(status.Message(), "Value -1 for 'numPlayersPerTeam' of type uint32 is out of range");
}

}  // namespace
}  // namespace Brix::Client::GameQueues::Lcds
