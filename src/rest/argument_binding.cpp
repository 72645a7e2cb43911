// argument_binding.cpp - binding headers, path, query, host parameters and bodies to arguments.
#include "rest/argument_binding.h"

#include <cstdint>
#include <span>
#include <string>

#include "codecs/json_reader.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"
#include "host_values/host_value_conversion.h"
#include "logging/message_formatter.h"
#include "rest/url_text.h"
#include "text/decimal_text.h"

namespace Brix::Rest {

namespace {

char LowerCase(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// StartsWithNoCase compares the beginning of text with prefix, ignoring ASCII case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix) noexcept {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerCase(text[i]) != LowerCase(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view SkipBlanks(std::string_view text) noexcept {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return text.substr(at);
}

bool StartsWithMessagePackContainer(std::string_view text) noexcept {
    if (text.empty()) {
        return false;
    }
    const auto first = static_cast<uint8_t>(text.front());
    return (first >= 0x80 && first <= 0x9F) || (first >= 0xDC && first <= 0xDF);
}

bool IsStructured(TypeCode code) noexcept {
    return code == TypeCode::Object || code == TypeCode::Vector || code == TypeCode::Struct ||
           code == TypeCode::Map;
}

// FindArgument is the position of the argument named name, or the argument count.
std::size_t FindArgument(const FunctionRecord& function, std::string_view name) noexcept {
    for (std::size_t i = 0; i < function.arguments.size(); ++i) {
        if (function.arguments[i].name == name) {
            return i;
        }
    }
    return function.arguments.size();
}

// ElementAt is the element of an index segment, grown up to the index within the growth bound.
BindingProperty* ElementAt(ConversionStatus& status, BindingProperty& value, std::string_view segment) {
    // An index reads as the C library reads an unsigned number with base 0, below 2^31.
    constexpr std::size_t kMaxIndex = (std::size_t{1} << 31) - 1;
    const Text::DecimalResult<std::size_t> read =
        Text::ParseDecimal<std::size_t>(segment, {.cPrefixes = true}, 0, kMaxIndex);
    switch (read.status) {
        case Text::DecimalStatus::NoNumber:
            status.Fail(FormatMessage(BindingMessages::kIndexFormat, segment));
            return nullptr;
        case Text::DecimalStatus::OutOfRange:
            status.Fail(FormatMessage(BindingMessages::kIndexRange, segment));
            return nullptr;
        case Text::DecimalStatus::Ok:
            break;
    }
    const std::size_t index = read.value;
    const std::size_t size = value.Kind() == BindingKind::Collection ? value.ElementCount() : 0;
    if (index >= size && index - size >= kMaxElementIndexGrowth) {
        status.Fail(FormatMessage(BindingMessages::kIndexRange, segment));
        return nullptr;
    }
    return &value.ElementForWriting(index);
}

void Decode(ConversionStatus& status, BindingProperty& output, ConversionStatus decoded,
            std::string_view message, std::string_view argumentName, std::string_view functionName) {
    if (!decoded.Ok()) {
        status.Fail(FormatMessage(message, argumentName, functionName, decoded.Message()));
        return;
    }
    output = std::move(decoded.Value());
}

void BindHostParameters(ConversionStatus& status, const FunctionRecord& function, const HostRequest& request,
                        Arguments& arguments) {
    const HostParam* const params = request.params;
    const uint32_t count = params != nullptr ? request.paramCount : 0;
    for (uint32_t position = 0; position < count && status.Ok(); ++position) {
        const HostParam& param = params[position];
        const char* const name = param.name;
        std::size_t index = position;
        if (name != nullptr) {
            index = FindArgument(function, name);
            if (index >= arguments.size()) {
                status.Fail(FormatMessage(BindingMessages::kUnknownArgument, name, function.name));
                return;
            }
        } else if (index >= arguments.size()) {
            status.Fail(FormatMessage(BindingMessages::kUnknownArgument, position, function.name));
            return;
        }
        ConversionStatus converted = FromHostValue(param.value, function.arguments[index].name);
        if (!converted.Ok()) {
            status.Fail(converted.Message());
            return;
        }
        arguments[index] = std::move(converted.Value());
    }
}

void BindBody(ConversionStatus& status, const FunctionRecord& function, const HostRequest& request,
              Arguments& arguments) {
    const void* const body = request.body;
    if (body == nullptr || !status.Ok()) {
        return;
    }
    std::size_t index = 0;
    while (index < function.arguments.size() &&
           function.arguments[index].location != ArgumentLocation::Body) {
        ++index;
    }
    if (index == function.arguments.size()) {
        return;
    }
    const char* const contentTypeText = request.contentType;
    const std::string_view contentType = contentTypeText != nullptr ? contentTypeText : "";
    const std::string_view bytes(static_cast<const char*>(body), request.bodyLength);
    const std::string& argumentName = function.arguments[index].name;

    if (StartsWithNoCase(contentType, "application/x-msgpack")) {
        std::size_t consumed = 0;
        ConversionStatus decoded = MsgPack::Read(bytes, &consumed);
        if (decoded.Ok() && consumed != bytes.size()) {
            status.Fail(BindingMessages::kExtraMessagePack);
            return;
        }
        Decode(status, arguments[index], std::move(decoded), BindingMessages::kMessagePackValue, argumentName,
               function.name);
    } else if (StartsWithNoCase(contentType, "application/json") ||
               StartsWithNoCase(contentType, "application/vnd.api+json")) {
        Decode(status, arguments[index], Json::Read(bytes), BindingMessages::kJsonValue, argumentName,
               function.name);
    } else if (StartsWithNoCase(contentType, "application/x-yaml")) {
        Decode(status, arguments[index], Yaml::Read(bytes), BindingMessages::kYamlValue, argumentName,
               function.name);
    } else {
        status.Fail(BindingMessages::kUnsupportedBody);
    }
}

}  // namespace

void DecodeParameter(ConversionStatus& status, BindingProperty& output, std::string_view text,
                     std::string_view contentType, bool structured, std::string_view argumentName,
                     std::string_view functionName) {
    if (!status.Ok()) {
        return;
    }
    const bool sniff = structured && contentType.empty();
    const std::string_view content = SkipBlanks(text);
    if (StartsWithNoCase(contentType, "application/x-msgpack") ||
        (sniff && StartsWithMessagePackContainer(text))) {
        Decode(status, output, MsgPack::Read(text), BindingMessages::kMessagePackValue, argumentName,
               functionName);
    } else if (StartsWithNoCase(contentType, "application/json") ||
               (sniff && !content.empty() && (content.front() == '{' || content.front() == '['))) {
        Decode(status, output, Json::Read(text), BindingMessages::kJsonValue, argumentName, functionName);
    } else if (StartsWithNoCase(contentType, "text/x-yaml") || (sniff && content.starts_with("---"))) {
        Decode(status, output, Yaml::Read(text), BindingMessages::kYamlValue, argumentName, functionName);
    } else if (StartsWithNoCase(contentType, "application/octet-stream")) {
        output.SetBlob(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    } else {
        output.SetString(text);
    }
}

void BindArgument(ConversionStatus& status, const FunctionRecord& function, Arguments& arguments,
                  std::string_view name, std::string_view text, std::string_view contentType,
                  ArgumentLocation location) {
    if (!status.Ok()) {
        return;
    }
    const std::size_t dot = name.find('.');
    const std::string_view baseName = name.substr(0, dot);
    const std::size_t index = FindArgument(function, baseName);
    if (index >= arguments.size()) {
        status.Fail(FormatMessage(BindingMessages::kUnknownArgument, baseName, function.name));
        return;
    }
    const ArgumentRecord& argument = function.arguments[index];
    if (argument.location != ArgumentLocation::Any && argument.location != location) {
        status.Fail(FormatMessage(BindingMessages::kInvalidLocation, baseName, function.name));
        return;
    }

    BindingProperty& value = arguments[index];
    if (dot != std::string_view::npos) {
        BindingProperty* element = &value;
        std::string_view path = name.substr(dot + 1);
        while (true) {
            const std::size_t next = path.find('.');
            const std::string_view segment = path.substr(0, next);
            if (!segment.empty() && segment.front() >= '0' && segment.front() <= '9') {
                element = ElementAt(status, *element, segment);
                if (element == nullptr) {
                    return;
                }
            } else {
                element = &element->MemberForWriting(segment);
            }
            if (next == std::string_view::npos) {
                break;
            }
            path.remove_prefix(next + 1);
        }
        DecodeParameter(status, *element, text, contentType, false, argument.name, function.name);
        return;
    }

    const TypeCode code = argument.type.code;
    if (text.empty()) {
        value.Clear();
        if (code == TypeCode::Bool) {
            value.SetBool(true);
        } else if (code == TypeCode::Vector) {
            value.MakeCollection();
        } else if (IsStructured(code)) {
            value.MakeStructure();
        } else {
            status.Fail(FormatMessage(BindingMessages::kExpectedValue, argument.name));
        }
        return;
    }
    DecodeParameter(status, value, text, contentType, IsStructured(code), argument.name, function.name);
}

void BindRequest(ConversionStatus& status, const FunctionRecord& function, const HostRequest& request,
                 const PathParameterMap& pathParameters, HeaderMap& headers, Arguments& arguments) {
    arguments.resize(function.arguments.size());

    const char* const* const pairs = request.headers;
    const uint32_t pairCount = pairs != nullptr ? request.headerCount : 0;
    for (uint32_t i = 0; i < pairCount; ++i) {
        const char* const headerName = pairs[std::size_t{2} * i];
        const char* const headerValue = pairs[std::size_t{2} * i + 1];
        if (headerName != nullptr) {
            headers.insert_or_assign(headerName, headerValue != nullptr ? headerValue : "");
        }
    }

    // 1. headers named as an argument of location any or header, in lower case
    for (const ArgumentRecord& argument : function.arguments) {
        if (argument.location != ArgumentLocation::Any && argument.location != ArgumentLocation::Header) {
            continue;
        }
        std::string lowerName = argument.name;
        for (char& c : lowerName) {
            c = LowerCase(c);
        }
        if (const auto header = headers.find(lowerName); header != headers.end()) {
            BindArgument(status, function, arguments, argument.name, header->second, {},
                         ArgumentLocation::Header);
        }
    }
    // 2. path parameters, 3. query parameters
    for (const auto& [name, value] : pathParameters) {
        BindArgument(status, function, arguments, name, value, {}, ArgumentLocation::Path);
    }
    const char* const url = request.url;
    for (const auto& [name, value] : ParseQuery(SplitUrl(url != nullptr ? url : "").query)) {
        BindArgument(status, function, arguments, name, value, {}, ArgumentLocation::Query);
    }
    // 4. host parameters, 5. the body
    if (status.Ok()) {
        BindHostParameters(status, function, request, arguments);
    }
    BindBody(status, function, request, arguments);
}

}  // namespace Brix::Rest
