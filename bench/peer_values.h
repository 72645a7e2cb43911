// peer_values.h - the results of the peer libraries re-expressed as generic values, for comparison.
#pragma once

#include <simdjson.h>
#include <yaml-cpp/yaml.h>
#include <msgpack.hpp>
#include <nlohmann/json.hpp>

#include <cstddef>
#include <string_view>

#include "bench/counting_rapidjson_allocator.h"
#include "binding/binding_property.h"

namespace Brix::Bench {

// Each function turns a peer's tree into a generic value the way the plugin's reader of the same
// format would type it: null -> empty, a non-negative integer -> unsigned, a negative one -> signed,
// any other number -> float, text -> string, array or sequence -> collection, object or mapping ->
// structure (MessagePack bin -> blob). Compact JSON of the result (Json::Write) is then comparable
// text for text with any reader's. A peer value that has no such form (a MessagePack map key that is
// not a string, an ext value) makes the function return false.
bool FromRapidJson(const PeerDocument::ValueType& peer, BindingProperty& value);
bool FromNlohmann(const nlohmann::json& peer, BindingProperty& value);
bool FromSimdjson(simdjson::dom::element peer, BindingProperty& value);
bool FromMsgpack(const msgpack::object& peer, BindingProperty& value);

// FromYamlCpp types plain scalars with yaml-cpp's own conversions, in this order: null (yaml-cpp's
// null forms) -> empty; a text yaml-cpp reads as a 64-bit integer (signed when it starts with "-",
// else unsigned) -> that number; one it reads as a double -> float; one it reads as a bool -> bool;
// anything else, and every quoted scalar, -> string.
bool FromYamlCpp(const YAML::Node& peer, BindingProperty& value);

// YamlEventCount is the number of libyaml events a block-style YAML text of value gives: stream and
// document start and end, one per scalar and member name, and a start and an end per collection and
// structure.
std::size_t YamlEventCount(const BindingProperty& value);

}  // namespace Brix::Bench
