// queue_translations_test.cpp - queue ids from member names, and the texts stored from the document.
#include "queues/service/queue_translations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/json_reader.h"
#include "logging/log_test_support.h"
#include "queues/model/queue_records_registration.h"

namespace Brix::Client::GameQueues {
namespace {

TEST(TranslationKey, ReadsLeadingDecimalDigits) {
    EXPECT_EQ(TranslationKey("420"), 420);
    EXPECT_EQ(TranslationKey("0430"), 430);
    EXPECT_EQ(TranslationKey("  \t-12abc"), -12);
    EXPECT_EQ(TranslationKey("+7"), 7);
    EXPECT_EQ(TranslationKey("queue420"), 0);
    EXPECT_EQ(TranslationKey(""), 0);
    EXPECT_EQ(TranslationKey("-"), 0);
    // Beyond 32 bits the key is held at the bound instead of wrapping into another queue's id.
    EXPECT_EQ(TranslationKey("99999999999"), 2147483647);
    EXPECT_EQ(TranslationKey("-99999999999"), -2147483647 - 1);
}

class QueueTranslations : public FreshLoggerTest {
protected:
    void SetUp() override {
        FreshLoggerTest::SetUp();
        ASSERT_TRUE(log.Register());
        Api::RegisterApiRecords(registry, "HuxGameQueues", {});
    }

    bool Store(std::string_view json) {
        ConversionStatus document = Json::Read(json);
        EXPECT_TRUE(document.Ok()) << document.Message();
        return StoreQueueTranslations(document.Value(), registry, table);
    }

    RecordingLogTarget log;
    TypeRegistry registry;
    Api::QueueTranslationMap table;
};

TEST_F(QueueTranslations, StoresEveryMemberUnderItsQueueId) {
    ASSERT_TRUE(Store(R"({"420": {"name": "Ranked Solo/Duo", "shortName": "Solo/Duo",
                                  "description": "Ranked", "detailedDescription": "5v5 Ranked", "icon": "x"},
                          "450": {"name": "SKELV"}})"));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(420), (Api::QueueTranslation{"Ranked Solo/Duo", "Solo/Duo", "Ranked", "5v5 Ranked"}));
    EXPECT_EQ(table.at(450).name, "SKELV");
    EXPECT_TRUE(log.Messages().empty());
}

TEST_F(QueueTranslations, MalformedMembersAreLoggedAndStillStored) {
    ASSERT_TRUE(Store(R"({"420": 5, "430": {"name": 7}, "tutorial": {"name": "Tutorial"}})"));
    EXPECT_EQ(table.at(420), Api::QueueTranslation{});
    EXPECT_EQ(table.at(0).name, "Tutorial");
    EXPECT_EQ(log.Messages(),
              std::vector<std::string>(
                  2, "Malformed queue translation data from hux-game-data/assets/v1/queues.json"));
}

TEST_F(QueueTranslations, NamesOfOneIdAreTakenInTheValuesMemberOrder) {
    // Members are visited in byte order of their names, so "0430" comes before "430" and "430" wins.
    ASSERT_TRUE(Store(R"({"430": {"name": "first"}, "0430": {"name": "second"}})"));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.at(430).name, "first");
}

TEST_F(QueueTranslations, ADocumentThatIsNotAnObjectStoresNothing) {
    EXPECT_FALSE(Store("[1, 2]"));
    EXPECT_FALSE(Store(""));
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(log.Messages(),
              std::vector<std::string>(2, "Could not deserialize hux-game-data/assets/v1/queues.json"));
}

}  // namespace
}  // namespace Brix::Client::GameQueues
