// peer_values.cpp - turning the peers' trees into generic values.
#include "bench/peer_values.h"

#include <cstdint>
#include <span>
#include <string>

namespace Brix::Bench {

bool FromRapidJson(const PeerDocument::ValueType& peer, BindingProperty& value) {
    if (peer.IsNull()) {
        value.Clear();
    } else if (peer.IsBool()) {
        value.SetBool(peer.GetBool());
    } else if (peer.IsUint64()) {
        value.SetUnsigned(uint64_t{peer.GetUint64()});
    } else if (peer.IsInt64()) {
        value.SetSigned(int64_t{peer.GetInt64()});
    } else if (peer.IsNumber()) {
        value.SetFloat(peer.GetDouble());
    } else if (peer.IsString()) {
        value.SetString({peer.GetString(), peer.GetStringLength()});
    } else if (peer.IsArray()) {
        value.MakeCollection();
        for (const auto& element : peer.GetArray()) {
            if (!FromRapidJson(element, value.AppendElement())) {
                return false;
            }
        }
    } else {
        value.MakeStructure();
        for (const auto& member : peer.GetObject()) {
            const std::string_view name(member.name.GetString(), member.name.GetStringLength());
            if (!FromRapidJson(member.value, value.MemberForWriting(name))) {
                return false;
            }
        }
    }
    return true;
}

bool FromNlohmann(const nlohmann::json& peer, BindingProperty& value) {
    switch (peer.type()) {
        case nlohmann::json::value_t::null:
            value.Clear();
            return true;
        case nlohmann::json::value_t::boolean:
            value.SetBool(peer.get<bool>());
            return true;
        case nlohmann::json::value_t::number_unsigned:
            value.SetUnsigned(peer.get<uint64_t>());
            return true;
        case nlohmann::json::value_t::number_integer: {
            const auto number = peer.get<int64_t>();
            if (number >= 0) {
                value.SetUnsigned(static_cast<uint64_t>(number));
            } else {
                value.SetSigned(number);
            }
            return true;
        }
        case nlohmann::json::value_t::number_float:
            value.SetFloat(peer.get<double>());
            return true;
        case nlohmann::json::value_t::string:
            value.SetString(peer.get_ref<const std::string&>());
            return true;
        case nlohmann::json::value_t::array:
            value.MakeCollection();
            for (const nlohmann::json& element : peer) {
                if (!FromNlohmann(element, value.AppendElement())) {
                    return false;
                }
            }
            return true;
        case nlohmann::json::value_t::object:
            value.MakeStructure();
            for (const auto& [name, member] : peer.items()) {
                if (!FromNlohmann(member, value.MemberForWriting(name))) {
                    return false;
                }
            }
            return true;
        case nlohmann::json::value_t::binary:
        case nlohmann::json::value_t::discarded:
            break;
    }
    return false;
}

bool FromSimdjson(simdjson::dom::element peer, BindingProperty& value) {
    switch (peer.type()) {
        case simdjson::dom::element_type::NULL_VALUE:
            value.Clear();
            return true;
        case simdjson::dom::element_type::BOOL:
            value.SetBool(bool(peer));
            return true;
        case simdjson::dom::element_type::UINT64:
            value.SetUnsigned(uint64_t(peer));
            return true;
        case simdjson::dom::element_type::INT64: {
            const int64_t number = int64_t(peer);
            if (number >= 0) {
                value.SetUnsigned(static_cast<uint64_t>(number));
            } else {
                value.SetSigned(number);
            }
            return true;
        }
        case simdjson::dom::element_type::DOUBLE:
            value.SetFloat(double(peer));
            return true;
        case simdjson::dom::element_type::STRING:
            value.SetString(std::string_view(peer));
            return true;
        case simdjson::dom::element_type::ARRAY:
            value.MakeCollection();
            for (simdjson::dom::element element : simdjson::dom::array(peer)) {
                if (!FromSimdjson(element, value.AppendElement())) {
                    return false;
                }
            }
            return true;
        case simdjson::dom::element_type::OBJECT:
            value.MakeStructure();
            for (simdjson::dom::key_value_pair member : simdjson::dom::object(peer)) {
                if (!FromSimdjson(member.value, value.MemberForWriting(member.key))) {
                    return false;
                }
            }
            return true;
    }
    return false;
}

bool FromMsgpack(const msgpack::object& peer, BindingProperty& value) {
    switch (peer.type) {
        case msgpack::type::NIL:
            value.Clear();
            return true;
        case msgpack::type::BOOLEAN:
            value.SetBool(peer.via.boolean);
            return true;
        case msgpack::type::POSITIVE_INTEGER:
            value.SetUnsigned(uint64_t{peer.via.u64});
            return true;
        case msgpack::type::NEGATIVE_INTEGER:
            value.SetSigned(int64_t{peer.via.i64});
            return true;
        case msgpack::type::FLOAT32:
        case msgpack::type::FLOAT64:
            value.SetFloat(peer.via.f64);
            return true;
        case msgpack::type::STR:
            value.SetString({peer.via.str.ptr, peer.via.str.size});
            return true;
        case msgpack::type::BIN:
            value.SetBlob(std::span(reinterpret_cast<const uint8_t*>(peer.via.bin.ptr), peer.via.bin.size));
            return true;
        case msgpack::type::ARRAY:
            value.MakeCollection();
            for (const msgpack::object& element : std::span(peer.via.array.ptr, peer.via.array.size)) {
                if (!FromMsgpack(element, value.AppendElement())) {
                    return false;
                }
            }
            return true;
        case msgpack::type::MAP:
            value.MakeStructure();
            for (const msgpack::object_kv& member : std::span(peer.via.map.ptr, peer.via.map.size)) {
                if (member.key.type != msgpack::type::STR) {
                    return false;
                }
                const std::string_view name(member.key.via.str.ptr, member.key.via.str.size);
                if (!FromMsgpack(member.val, value.MemberForWriting(name))) {
                    return false;
                }
            }
            return true;
        case msgpack::type::EXT:
            break;
    }
    return false;
}

namespace {

void FromPlainYamlScalar(const YAML::Node& peer, BindingProperty& value) {
    const std::string& text = peer.Scalar();
    int64_t negative = 0;
    uint64_t natural = 0;
    double number = 0;
    bool truth = false;
    if (text.starts_with('-') && YAML::convert<int64_t>::decode(peer, negative)) {
        value.SetSigned(negative);
    } else if (!text.starts_with('-') && YAML::convert<uint64_t>::decode(peer, natural)) {
        value.SetUnsigned(natural);
    } else if (YAML::convert<double>::decode(peer, number)) {
        value.SetFloat(number);
    } else if (YAML::convert<bool>::decode(peer, truth)) {
        value.SetBool(truth);
    } else {
        value.SetString(text);
    }
}

}  // namespace

bool FromYamlCpp(const YAML::Node& peer, BindingProperty& value) {
    switch (peer.Type()) {
        case YAML::NodeType::Null:
            value.Clear();
            return true;
        case YAML::NodeType::Scalar:
            // yaml-cpp tags a quoted scalar "!" and a plain one "?".
            if (peer.Tag() == "!") {
                value.SetString(peer.Scalar());
            } else {
                FromPlainYamlScalar(peer, value);
            }
            return true;
        case YAML::NodeType::Sequence:
            value.MakeCollection();
            for (const YAML::Node& element : peer) {
                if (!FromYamlCpp(element, value.AppendElement())) {
                    return false;
                }
            }
            return true;
        case YAML::NodeType::Map:
            value.MakeStructure();
            for (const auto& member : peer) {
                if (!member.first.IsScalar() ||
                    !FromYamlCpp(member.second, value.MemberForWriting(member.first.Scalar()))) {
                    return false;
                }
            }
            return true;
        case YAML::NodeType::Undefined:
            break;
    }
    return false;
}

namespace {

std::size_t NodeEvents(const BindingProperty& value) {
    std::size_t events = 1;
    if (value.Kind() == BindingKind::Collection) {
        events = 2;
        for (const BindingProperty& element : value.Elements()) {
            events += NodeEvents(element);
        }
    } else if (value.Kind() == BindingKind::Structure) {
        events = 2;
        for (const auto& member : value.Members()) {
            events += 1 + NodeEvents(member.value);
        }
    }
    return events;
}

}  // namespace

std::size_t YamlEventCount(const BindingProperty& value) {
    return 4 + NodeEvents(value);
}

}  // namespace Brix::Bench
