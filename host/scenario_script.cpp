// scenario_script.cpp - scripting a development host from a scenario.
#include "scenario_script.h"

#include <string>
#include <vector>

#include "binding/base64.h"
#include "codecs/json_writer.h"
#include "gzip_text.h"

namespace HuxHost {

namespace {

constexpr std::string_view kStringClass = "java.lang.String";
constexpr std::string_view kListClass = "java.util.ArrayList";

// LcdsAnswer is the answer of one LCDS call: the response as a value, or streamed as its JSON text
// behind delayYields empty reads.
ScriptedAnswer LcdsAnswer(std::string_view typeName, Brix::BindingProperty body, uint32_t delayYields) {
    Brix::BindingProperty response;
    response.MemberForWriting("typeName").SetString(typeName);
    response.MemberForWriting("body") = std::move(body);
    if (delayYields == 0) {
        return ScriptedAnswer::Value(std::move(response));
    }
    StreamScript stream;
    stream.text = Brix::Json::Write(response);
    stream.chunks.assign(delayYields, 0);
    stream.expectedSize = static_cast<uint32_t>(stream.text.size());
    return ScriptedAnswer::Stream(std::move(stream));
}

void ScriptMatchmaker(const MatchmakerScript& matchmaker, DevHost& host) {
    const std::string destination(kMatchmakerDestination);
    const std::string compressed(kCompressedQueuesMethod);
    const std::string plain(kPlainQueuesMethod);
    if (matchmaker.answer == MatchmakerAnswer::Failing) {
        host.ScriptLcdsError(destination, compressed, matchmaker.errorStatus, matchmaker.errorMessage);
        host.ScriptLcdsError(destination, plain, matchmaker.errorStatus, matchmaker.errorMessage);
        return;
    }
    if (matchmaker.answer == MatchmakerAnswer::Compressed) {
        const std::vector<uint8_t> gzip = GzipText(Brix::Json::Write(matchmaker.queues));
        Brix::BindingProperty text;
        text.SetString(Brix::Base64Encode(gzip));
        host.ScriptLcdsAnswer(destination, compressed,
                              LcdsAnswer(kStringClass, std::move(text), matchmaker.delayYields));
    }
    host.ScriptLcdsAnswer(destination, plain,
                          LcdsAnswer(kListClass, matchmaker.queues, matchmaker.delayYields));
}

}  // namespace

void ScriptScenario(const Scenario& scenario, DevHost& host) {
    for (const auto& [uri, value] : scenario.resources) {
        host.SetResource(uri, value);
    }
    if (scenario.translations) {
        host.SetResource(std::string(kTranslationsUri), *scenario.translations);
    }
    if (scenario.matchmaker) {
        ScriptMatchmaker(*scenario.matchmaker, host);
    }
}

bool PlayStep(const TimelineStep& step, DevHost& host) {
    if (step.type == Brix::PluginResourceEventType::Delete) {
        host.RemoveAnswer(Brix::MethodCode::Get, step.uri);
    } else {
        host.SetResource(step.uri, step.value);
    }
    return host.DeliverResourceEvent(step.uri, step.type, step.value);
}

}  // namespace HuxHost
