// scenario_loader.cpp - scenario texts read with the project's JSON and YAML readers, then checked
// key by key before anything is kept.
#include "scenario_loader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>

#include "codecs/json_reader.h"
#include "codecs/yaml_reader.h"
#include "scenario_keys.h"

namespace HuxHost {

namespace {

using Brix::BindingKind;
using Brix::BindingProperty;

// kMaxDelayYields bounds the matchmaker's delay: each yield is one turn of the host's loop.
constexpr uint64_t kMaxDelayYields = 10'000;
constexpr uint64_t kLowestStatus = 100;
// kMaxScenarioBytes bounds a scenario file; kReadPiece is how much more is read at a time past its size.
constexpr std::size_t kMaxScenarioBytes = std::size_t{64} << 20u;
constexpr std::size_t kReadPiece = std::size_t{64} << 10u;
constexpr uint64_t kHighestStatus = 599;

// Problem is what is wrong and where: a dotted path into the document ("matchmaker.queues[2]").
struct Problem {
    std::string place;
    std::string text;
};
using Check = std::optional<Problem>;

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// Found names a value in a message: scalars by their text, the rest by their kind.
std::string Found(const BindingProperty& value) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            return "null";
        case BindingKind::Bool:
        case BindingKind::Signed:
        case BindingKind::Unsigned:
            return value.ToText();
        case BindingKind::Float:
            return "the number " + value.ToText();
        case BindingKind::String:
            return Quoted(value.AsString());
        case BindingKind::Collection:
            return "a list";
        case BindingKind::Structure:
            return "an object";
        case BindingKind::Blob:
        case BindingKind::Enum:
            break;
    }
    return std::string("a value of kind ") + std::string(Brix::KindName(value.Kind()));
}

Problem Expected(std::string place, std::string_view what, const BindingProperty& found) {
    return {std::move(place), std::string("expected ") + std::string(what) + ", found " + Found(found)};
}

std::string Key(std::string_view place, std::string_view key) {
    std::string path(place);
    if (!path.empty()) {
        path += '.';
    }
    path += key;
    return path;
}

std::string Index(std::string_view place, std::size_t index) {
    return std::string(place) + "[" + std::to_string(index) + "]";
}

std::string Entry(std::string_view place, std::string_view key) {
    return std::string(place) + "[" + Quoted(key) + "]";
}

// UnknownKeys refuses a member of object that is not among allowed.
Check UnknownKeys(const BindingProperty& object, std::string_view place,
                  std::initializer_list<std::string_view> allowed) {
    for (const auto [name, value] : object.Members()) {
        if (std::find(allowed.begin(), allowed.end(), name) != allowed.end()) {
            continue;
        }
        std::string list;
        for (const std::string_view key : allowed) {
            list += list.empty() ? "" : ", ";
            list += Quoted(key);
        }
        return Problem{Key(place, name), "unknown key (expected one of " + list + ")"};
    }
    return std::nullopt;
}

std::optional<uint64_t> Count(const BindingProperty& value) {
    if (value.Kind() == BindingKind::Unsigned) {
        return value.AsUnsigned();
    }
    if (value.Kind() == BindingKind::Signed && value.AsSigned() >= 0) {
        return static_cast<uint64_t>(value.AsSigned());
    }
    return std::nullopt;
}

Check ReadUri(const BindingProperty& value, const std::string& place, std::string& uri) {
    if (value.Kind() != BindingKind::String || !value.AsString().starts_with('/')) {
        return Expected(place, "a resource URI starting with \"/\"", value);
    }
    uri = std::string(value.AsString());
    return std::nullopt;
}

Check ReadResources(const BindingProperty& resources, Scenario& scenario) {
    const std::string place = "resources";
    if (resources.Kind() != BindingKind::Structure) {
        return Expected(place, "an object of resource URI to value", resources);
    }
    for (const auto [uri, value] : resources.Members()) {
        if (!uri.starts_with('/')) {
            return Problem{Entry(place, uri), "a resource URI starts with \"/\""};
        }
        scenario.resources.emplace_back(std::string(uri), value);
    }
    return std::nullopt;
}

Check ReadQueues(const BindingProperty& queues, const std::string& place, MatchmakerScript& matchmaker) {
    if (queues.Kind() != BindingKind::Collection) {
        return Expected(place, "a list of queue definitions", queues);
    }
    for (std::size_t i = 0; i < queues.ElementCount(); ++i) {
        const BindingProperty& queue = queues.Element(i);
        if (queue.Kind() != BindingKind::Structure) {
            return Expected(Index(place, i), "a queue definition (an object)", queue);
        }
        const BindingProperty* id = queue.FindMember("id");
        if (id == nullptr) {
            return Problem{Index(place, i), "a queue definition needs an \"id\""};
        }
        if (id->Kind() != BindingKind::Signed && id->Kind() != BindingKind::Unsigned) {
            return Expected(Key(Index(place, i), "id"), "an integer", *id);
        }
    }
    matchmaker.queues = queues;
    return std::nullopt;
}

Check ReadError(const BindingProperty& error, const std::string& place, MatchmakerScript& matchmaker) {
    if (error.Kind() != BindingKind::Structure) {
        return Expected(place, "an object with \"status\" and \"message\"", error);
    }
    if (Check unknown = UnknownKeys(error, place, {"status", "message"})) {
        return unknown;
    }
    if (const BindingProperty* status = error.FindMember("status")) {
        const std::optional<uint64_t> number = Count(*status);
        if (!number || *number < kLowestStatus || *number > kHighestStatus) {
            return Expected(Key(place, "status"), "an HTTP status from 100 to 599", *status);
        }
        matchmaker.errorStatus = static_cast<uint32_t>(*number);
    }
    if (const BindingProperty* message = error.FindMember("message")) {
        if (message->Kind() != BindingKind::String || message->AsString().empty()) {
            return Expected(Key(place, "message"), "a message text", *message);
        }
        matchmaker.errorMessage = std::string(message->AsString());
    }
    return std::nullopt;
}

Check ReadMatchmaker(const BindingProperty& value, Scenario& scenario) {
    const std::string place = "matchmaker";
    if (value.Kind() != BindingKind::Structure) {
        return Expected(place, "an object", value);
    }
    if (Check unknown = UnknownKeys(value, place, {"answer", "queues", "delayYields", "error"})) {
        return unknown;
    }
    MatchmakerScript matchmaker;
    const BindingProperty& answer = value.Member("answer");
    const std::string answerPlace = Key(place, "answer");
    if (answer.AsString() == "compressed") {
        matchmaker.answer = MatchmakerAnswer::Compressed;
    } else if (answer.AsString() == "plain") {
        matchmaker.answer = MatchmakerAnswer::Plain;
    } else if (answer.AsString() == "failing") {
        matchmaker.answer = MatchmakerAnswer::Failing;
    } else if (value.FindMember("answer") == nullptr) {
        return Problem{place, "\"answer\" is missing (\"compressed\", \"plain\" or \"failing\")"};
    } else {
        return Expected(answerPlace, "\"compressed\", \"plain\" or \"failing\"", answer);
    }

    const BindingProperty* queues = value.FindMember("queues");
    const BindingProperty* error = value.FindMember("error");
    const BindingProperty* delay = value.FindMember("delayYields");
    if (matchmaker.answer == MatchmakerAnswer::Failing) {
        if (queues != nullptr || delay != nullptr) {
            return Problem{Key(place, queues != nullptr ? "queues" : "delayYields"),
                           "a failing matchmaker answers no queues, so it takes neither \"queues\" nor "
                           "\"delayYields\""};
        }
        if (error != nullptr) {
            if (Check problem = ReadError(*error, Key(place, "error"), matchmaker)) {
                return problem;
            }
        }
    } else {
        if (error != nullptr) {
            return Problem{Key(place, "error"), "only a failing matchmaker takes an \"error\""};
        }
        if (queues == nullptr) {
            return Problem{place, "\"queues\" is missing: the matchmaker answers with a list of queues"};
        }
        if (Check problem = ReadQueues(*queues, Key(place, "queues"), matchmaker)) {
            return problem;
        }
        if (delay != nullptr) {
            const std::optional<uint64_t> yields = Count(*delay);
            if (!yields || *yields > kMaxDelayYields) {
                return Expected(Key(place, "delayYields"), "a number of yields from 0 to 10000", *delay);
            }
            matchmaker.delayYields = static_cast<uint32_t>(*yields);
        }
    }
    scenario.matchmaker = std::move(matchmaker);
    return std::nullopt;
}

Check ReadTimeline(const BindingProperty& timeline, Scenario& scenario) {
    const std::string place = "timeline";
    if (timeline.Kind() != BindingKind::Collection) {
        return Expected(place, "a list of updates and deletes", timeline);
    }
    for (std::size_t i = 0; i < timeline.ElementCount(); ++i) {
        const BindingProperty& step = timeline.Element(i);
        const std::string stepPlace = Index(place, i);
        if (step.Kind() != BindingKind::Structure) {
            return Expected(stepPlace, "{\"update\": uri, \"value\": value} or {\"delete\": uri}", step);
        }
        TimelineStep read;
        const BindingProperty* update = step.FindMember("update");
        const BindingProperty* remove = step.FindMember("delete");
        if ((update == nullptr) == (remove == nullptr)) {
            return Problem{stepPlace, "a step has either \"update\" (with \"value\") or \"delete\""};
        }
        if (update != nullptr) {
            if (Check unknown = UnknownKeys(step, stepPlace, {"update", "value"})) {
                return unknown;
            }
            const BindingProperty* value = step.FindMember("value");
            if (value == nullptr) {
                return Problem{stepPlace, "an update needs a \"value\""};
            }
            if (Check problem = ReadUri(*update, Key(stepPlace, "update"), read.uri)) {
                return problem;
            }
            read.value = *value;
        } else {
            if (Check unknown = UnknownKeys(step, stepPlace, {"delete"})) {
                return unknown;
            }
            if (Check problem = ReadUri(*remove, Key(stepPlace, "delete"), read.uri)) {
                return problem;
            }
            read.type = Brix::PluginResourceEventType::Delete;
        }
        scenario.timeline.push_back(std::move(read));
    }
    return std::nullopt;
}

// ReadTranslations takes the queue texts: each key a queue id (a 32-bit integer), each value an object
// of texts the plugin knows.
Check ReadTranslations(const BindingProperty& translations, Scenario& scenario) {
    const std::string place = "translations";
    if (translations.Kind() != BindingKind::Structure) {
        return Expected(place, "an object of queue id to texts", translations);
    }
    for (const auto [id, texts] : translations.Members()) {
        int32_t number = 0;
        const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
        if (error != std::errc() || end != id.data() + id.size()) {
            return Problem{Entry(place, id), "a queue id is an integer"};
        }
        const std::string textsPlace = Entry(place, id);
        if (texts.Kind() != BindingKind::Structure) {
            return Expected(textsPlace, "an object of texts", texts);
        }
        if (Check unknown =
                UnknownKeys(texts, textsPlace, {"name", "shortName", "description", "detailedDescription"})) {
            return unknown;
        }
        for (const auto [name, text] : texts.Members()) {
            if (text.Kind() != BindingKind::String) {
                return Expected(Key(textsPlace, name), "a text", text);
            }
        }
    }
    scenario.translations = translations;
    return std::nullopt;
}

Check ReadDocument(const BindingProperty& document, Scenario& scenario) {
    if (document.Kind() != BindingKind::Structure) {
        return Expected("", "an object with \"resources\", \"matchmaker\", \"translations\" and \"timeline\"",
                        document);
    }
    if (Check unknown = UnknownKeys(document, "",
                                    {"description", "resources", "matchmaker", "translations", "timeline"})) {
        return unknown;
    }
    if (const BindingProperty* description = document.FindMember("description")) {
        if (description->Kind() != BindingKind::String) {
            return Expected("description", "a text", *description);
        }
        scenario.description = std::string(description->AsString());
    }
    if (const BindingProperty* resources = document.FindMember("resources")) {
        if (Check problem = ReadResources(*resources, scenario)) {
            return problem;
        }
    }
    if (const BindingProperty* matchmaker = document.FindMember("matchmaker")) {
        if (Check problem = ReadMatchmaker(*matchmaker, scenario)) {
            return problem;
        }
    }
    if (const BindingProperty* translations = document.FindMember("translations")) {
        if (Check problem = ReadTranslations(*translations, scenario)) {
            return problem;
        }
    }
    if (const BindingProperty* timeline = document.FindMember("timeline")) {
        if (Check problem = ReadTimeline(*timeline, scenario)) {
            return problem;
        }
    }
    return std::nullopt;
}

// LineAndColumn counts lines and columns from 1 up to a byte offset of text.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lastBreak = before.rfind('\n');
    const std::size_t column = lastBreak == std::string_view::npos ? offset + 1 : offset - lastBreak;
    return {line, column};
}

std::optional<std::size_t> NumberAt(std::string_view text) {
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data()) {
        return std::nullopt;
    }
    return number;
}

std::string Positioned(std::string_view source, std::size_t line, std::size_t column,
                       std::string_view problem) {
    return std::string(source) + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
           std::string(problem);
}

// SyntaxMessage turns a reader's failure into "source:line:column: problem" when it carries a place:
// the JSON reader gives "Error: <reason> at offset <n>.", the YAML reader "<problem> At line: <l> col:
// <c>", counted from 0 for libyaml's own parser errors and from 1 otherwise.
std::string SyntaxMessage(std::string_view text, std::string_view source, ScenarioFormat format,
                          std::string_view message) {
    if (format == ScenarioFormat::Json) {
        constexpr std::string_view kPrefix = "Error: ";
        constexpr std::string_view kOffset = " at offset ";
        const std::size_t at = message.rfind(kOffset);
        if (message.starts_with(kPrefix) && at != std::string_view::npos) {
            if (const std::optional<std::size_t> offset = NumberAt(message.substr(at + kOffset.size()))) {
                const auto [line, column] = LineAndColumn(text, *offset);
                std::string reason(message.substr(kPrefix.size(), at - kPrefix.size()));
                if (!reason.ends_with('.')) {
                    reason += '.';
                }
                return Positioned(source, line, column, reason);
            }
        }
    } else {
        constexpr std::string_view kLine = " At line: ";
        constexpr std::string_view kColumn = " col: ";
        const std::size_t at = message.rfind(kLine);
        const std::size_t columnAt = message.rfind(kColumn);
        if (at != std::string_view::npos && columnAt != std::string_view::npos && columnAt > at) {
            const std::optional<std::size_t> line = NumberAt(message.substr(at + kLine.size()));
            const std::optional<std::size_t> column = NumberAt(message.substr(columnAt + kColumn.size()));
            if (line && column) {
                const std::size_t base = message.starts_with("YAML parser error: ") ? 1 : 0;
                return Positioned(source, *line + base, *column + base, message.substr(0, at));
            }
        }
    }
    return std::string(source) + ": " + std::string(message);
}

// FileKind names what a path is when it is not a regular file.
std::string FileKind(std::filesystem::file_type type) {
    switch (type) {
        case std::filesystem::file_type::directory:
            return "a folder";
        case std::filesystem::file_type::character:
        case std::filesystem::file_type::block:
            return "a device";
        case std::filesystem::file_type::fifo:
            return "a pipe";
        case std::filesystem::file_type::socket:
            return "a socket";
        default:
            return "a special file";
    }
}

// ReadsAsYaml tells a text in YAML's block notation that the YAML reader takes as an object or a list;
// a text that starts as JSON does is taken for broken JSON.
bool ReadsAsYaml(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || text[first] == '{' || text[first] == '[' || text[first] == '"') {
        return false;
    }
    const Brix::ConversionStatus yaml = Brix::Yaml::Read(text);
    return yaml.Ok() &&
           (yaml.Value().Kind() == BindingKind::Structure || yaml.Value().Kind() == BindingKind::Collection);
}

}  // namespace

ScenarioFormat FormatOfPath(std::string_view path) {
    return path.ends_with(".yaml") || path.ends_with(".yml") ? ScenarioFormat::Yaml : ScenarioFormat::Json;
}

Brix::MaybeType<Scenario> ParseScenario(std::string_view text, std::string_view source,
                                        ScenarioFormat format) {
    Brix::ConversionStatus parsed =
        format == ScenarioFormat::Json ? Brix::Json::Read(text) : Brix::Yaml::Read(text);
    if (!parsed.Ok()) {
        std::string message = SyntaxMessage(text, source, format, parsed.Message());
        if (format == ScenarioFormat::Json && ReadsAsYaml(text)) {
            message +=
                " The text reads as YAML, and a scenario is read as YAML only when its name ends in "
                "\".yaml\" or \".yml\".";
        }
        return Brix::Failure(message);
    }
    if (parsed.Value().IsEmpty()) {
        return Brix::Failure(std::string(source) + ": the scenario is empty");
    }
    // The readers merge a key given twice; a scenario must not hide one of its values that way.
    if (const std::optional<RepeatedKey> repeated = FindRepeatedKey(text, format)) {
        return Brix::Failure(std::string(source) + ": " +
                             (repeated->place.empty() ? "" : repeated->place + ": ") + "key " +
                             Quoted(repeated->key) + " appears twice");
    }
    Scenario scenario;
    scenario.source = std::string(source);
    if (Check problem = ReadDocument(parsed.Value(), scenario)) {
        std::string message(source);
        message += ": ";
        if (!problem->place.empty()) {
            message += problem->place + ": ";
        }
        return Brix::Failure(message + problem->text);
    }
    return scenario;
}

Brix::MaybeType<Scenario> LoadScenarioFile(const std::string& path) {
    // The kind is looked at before the file is opened: a pipe named as the scenario must not hang the
    // host before it is refused.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        return Brix::Failure(path + ": cannot open the scenario: " + error.message());
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return Brix::Failure(path + ": the scenario must be a regular file, not " + FileKind(status.type()));
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Brix::Failure(path + ": cannot open the scenario: " + std::strerror(errno));
    }
    // The file may grow while it is read: no more than one byte past the limit is ever read.
    std::string text;
    std::size_t length = 0;
    while (file && length <= kMaxScenarioBytes) {
        text.resize(std::min(kMaxScenarioBytes + 1, length + kReadPiece));
        file.read(text.data() + length, static_cast<std::streamsize>(text.size() - length));
        length += static_cast<std::size_t>(file.gcount());
    }
    if (length > kMaxScenarioBytes) {
        return Brix::Failure(path + ": the scenario is larger than 64 MiB (" +
                             std::to_string(kMaxScenarioBytes) + " bytes)");
    }
    if (file.bad()) {
        return Brix::Failure(path + ": cannot read the scenario");
    }
    text.resize(length);
    return ParseScenario(text, path, FormatOfPath(path));
}

}  // namespace HuxHost
