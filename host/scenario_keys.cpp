// scenario_keys.cpp - a second pass over a scenario text that has been read: JSON with a small scanner
// (the text is known to be well formed and bounded in depth), YAML through libyaml's events.
#include "scenario_keys.h"

#include <yaml.h>

#include <algorithm>
#include <set>
#include <vector>

#include "codecs/json_reader.h"

namespace HuxHost {

namespace {

// Container is one open object or list while a text is walked.
struct Container {
    bool object = false;
    std::string place;
    std::set<std::string, std::less<>> keys;
    std::size_t index = 0;  // of the next element of a list
    bool atKey = true;      // an object's next node is a key
    std::string key;        // an object's last key
    bool plainKey = true;   // the last key was a scalar
};

// Walk keeps the open containers; every key and every finished value passes through it.
class Walk {
public:
    // Open starts a container as the next value of the one it is in.
    void Open(bool object) {
        Container opened;
        opened.object = object;
        opened.place = ChildPlace();
        open.push_back(std::move(opened));
    }
    // Close ends the innermost container, which is a value (or a key) of its parent.
    void Close() {
        if (!open.empty()) {
            open.pop_back();
            Done(false);
        }
    }
    // Scalar takes a scalar node; answers false when it is a key its object already has.
    bool Scalar(std::string text) {
        if (open.empty() || !open.back().object || !open.back().atKey) {
            Done(false);
            return true;
        }
        Container& object = open.back();
        if (!object.keys.insert(text).second) {
            repeated = RepeatedKey{object.place, std::move(text)};
            return false;
        }
        object.key = std::move(text);
        Done(true);
        return true;
    }

    std::optional<RepeatedKey> repeated;

private:
    std::string ChildPlace() const {
        if (open.empty()) {
            return {};
        }
        const Container& parent = open.back();
        if (!parent.object) {
            return parent.place + "[" + std::to_string(parent.index) + "]";
        }
        return parent.atKey || !parent.plainKey ? parent.place : PlaceOfKey(parent.place, parent.key);
    }
    // Done moves past a finished node: plain tells a scalar key from any other node.
    void Done(bool plain) {
        if (open.empty()) {
            return;
        }
        Container& container = open.back();
        if (!container.object) {
            ++container.index;
        } else {
            if (container.atKey) {
                container.plainKey = plain;
            }
            container.atKey = !container.atKey;
        }
    }

    std::vector<Container> open;
};

// JsonString is the text of the JSON string that starts at text[at], whose end is put in at.
std::string JsonString(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    bool escaped = false;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] == '\\') {
            escaped = true;
            ++at;
        }
    }
    ++at;
    const std::string_view quoted = text.substr(start, at - start);
    if (!escaped) {
        return std::string(quoted.substr(1, quoted.size() - 2));
    }
    // Escapes are undone by the reader itself, so that "i\u0064" and "id" are one key.
    Brix::ConversionStatus read = Brix::Json::Read(quoted);
    return read.Ok() ? std::string(read.Value().AsString()) : std::string(quoted);
}

std::optional<RepeatedKey> RepeatedJsonKey(std::string_view text) {
    Walk walk;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (c == '{' || c == '[') {
            walk.Open(c == '{');
            ++at;
        } else if (c == '}' || c == ']') {
            walk.Close();
            ++at;
        } else if (c == '"') {
            if (!walk.Scalar(JsonString(text, at))) {
                return walk.repeated;
            }
        } else if (c == ',' || c == ':' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++at;
        } else {
            const std::size_t end = text.find_first_of(",:]} \t\r\n", at);
            walk.Scalar(std::string(text.substr(at, end - at)));
            at = std::min(end, text.size());
        }
    }
    return std::nullopt;
}

std::optional<RepeatedKey> RepeatedYamlKey(std::string_view text) {
    yaml_parser_t parser;
    if (yaml_parser_initialize(&parser) == 0) {
        return std::nullopt;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libyaml reads unsigned bytes
    yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    Walk walk;
    bool going = true;
    while (going) {
        yaml_event_t event;
        if (yaml_parser_parse(&parser, &event) == 0) {
            break;
        }
        switch (event.type) {
            case YAML_MAPPING_START_EVENT:
            case YAML_SEQUENCE_START_EVENT:
                walk.Open(event.type == YAML_MAPPING_START_EVENT);
                break;
            case YAML_MAPPING_END_EVENT:
            case YAML_SEQUENCE_END_EVENT:
                walk.Close();
                break;
            case YAML_SCALAR_EVENT:
                // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libyaml's bytes are UTF-8
                going = walk.Scalar(std::string(reinterpret_cast<const char*>(event.data.scalar.value),
                                                event.data.scalar.length));
                break;
            case YAML_ALIAS_EVENT:
                walk.Scalar("*" + std::string(reinterpret_cast<const char*>(  // NOLINT(*-reinterpret-cast)
                                      event.data.alias.anchor)));
                break;
            case YAML_STREAM_END_EVENT:
            case YAML_DOCUMENT_END_EVENT:
                going = false;
                break;
            default:
                break;
        }
        yaml_event_delete(&event);
    }
    yaml_parser_delete(&parser);
    return walk.repeated;
}

}  // namespace

std::string PlaceOfKey(std::string_view place, std::string_view key) {
    const bool plain =
        !key.empty() && (key[0] < '0' || key[0] > '9') && std::all_of(key.begin(), key.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        });
    if (!plain) {
        return std::string(place) + "[\"" + std::string(key) + "\"]";
    }
    return place.empty() ? std::string(key) : std::string(place) + "." + std::string(key);
}

std::optional<RepeatedKey> FindRepeatedKey(std::string_view text, ScenarioFormat format) {
    return format == ScenarioFormat::Json ? RepeatedJsonKey(text) : RepeatedYamlKey(text);
}

}  // namespace HuxHost
