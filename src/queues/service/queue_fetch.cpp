// queue_fetch.cpp - fetching the queue definitions from the matchmaker: compressed first, then plain.
#include <string>

#include "codecs/json_reader.h"
#include "logging/debug_trace.h"
#include "logging/message_formatter.h"
#include "queues/service/compressed_queues.h"
#include "queues/service/game_queues_plugin.h"

namespace Brix::Client::GameQueues {

namespace {

constexpr std::string_view kMatchmakerService = "matchmakerService";

}  // namespace

MaybeType<std::vector<Lcds::GameQueueConfig>> GameQueuesPlugin::FetchQueues() {
    using QueueConfigs = std::vector<Lcds::GameQueueConfig>;
    std::string fallbackReason;
    MaybeType<std::string> compressed =
        Await(LcdsInvoke<std::string>(kMatchmakerService, "getAllQueuesCompressed"));
    if (!compressed) {
        fallbackReason = FormatMessage("getAllQueuesCompressed failed: %1", compressed.Error().Message());
    } else {
        MaybeType<QueueConfigs> decoded = [&]() -> MaybeType<QueueConfigs> {
            MaybeType<std::string> text = DecodeCompressedQueues(compressed.Value());
            if (!text) {
                return text.Error();
            }
            ConversionStatus document = Json::Read(text.Value());
            if (!document.Ok()) {
                return InternalServerError(document.Message());
            }
            QueueConfigs queues;
            ConversionStatus converted;
            ValueToNative(converted, queues, document.Value(), "<value>", Registry());
            if (!converted.Ok()) {
                return InternalServerError("ConvertPropertyValue failed");
            }
            return queues;
        }();
        if (decoded) {
            return decoded;
        }
        fallbackReason = FormatMessage("Decompressing queues failed: %1", decoded.Error().Message());
    }
    DebugTrace("Compressed queues: falling back to uncompressed (%s)", fallbackReason.c_str());
    return Await(LcdsInvoke<QueueConfigs>(kMatchmakerService, "getAllQueues"));
}

}  // namespace Brix::Client::GameQueues
