// argument_binding.h - binding the arguments a request carries to the parameters of a function.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/api_records.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "rest/endpoint_response.h"
#include "rest/route.h"

namespace Brix::Rest {

// The messages of binding; %1 and %2 as described where they are used.
namespace BindingMessages {
inline constexpr std::string_view kUnknownArgument = "Unknown argument '%1' for '%2'.";
inline constexpr std::string_view kInvalidLocation =
    "Argument '%1' for '%2' was specified in an invalid location.";
inline constexpr std::string_view kExpectedValue = "Expected value for argument '%1'.";
inline constexpr std::string_view kIndexFormat = "Index %1 is in an incorrect format";
inline constexpr std::string_view kIndexRange = "Index %1 is out of range";
inline constexpr std::string_view kMessagePackValue =
    "Couldn't deserialize MessagePack value for parameter '%1' of '%2': %3";
inline constexpr std::string_view kJsonValue =
    "Couldn't deserialize JSON value for parameter '%1' of '%2': %3";
inline constexpr std::string_view kYamlValue =
    "Couldn't deserialize YAML value for parameter '%1' of '%2': %3";
inline constexpr std::string_view kUnsupportedBody = "Unsupported body content type";
inline constexpr std::string_view kExtraMessagePack = "Extra MessgePack data found in body";
}  // namespace BindingMessages

// kMaxElementIndexGrowth is the most elements one index of a dotted argument name may add to a
// collection. An index grows its collection with empty elements up to the index, so without a bound a
// name such as "ids.2000000000" would take gigabytes; an index that would add more elements than this
// fails with "Index %1 is out of range". Consecutive indexes (ids.0, ids.1, ...) add one each and are
// never refused.
inline constexpr std::size_t kMaxElementIndexGrowth = 1024;

// Arguments holds one value per argument of a function, in argument order; empty until bound.
using Arguments = std::vector<BindingProperty>;

// BindArgument binds text to the argument that name designates, as given at location. The name is
// the argument's name, optionally followed by "." and a path of "."-separated segments into the
// argument's value: a segment that begins with a digit is an element index (C notation: "0x" prefix
// hexadecimal, leading "0" octal), any other a member name; elements and members are created as
// needed and the text is decoded into the last one. Without a path, an empty text binds true to a
// bool, an empty structure to an object, struct or map, an empty collection to a vector, and fails
// for any other type; a non-empty text is decoded (DecodeParameter), as a structured value for
// object, vector, struct and map arguments. Does nothing once status has failed.
void BindArgument(ConversionStatus& status, const FunctionRecord& function, Arguments& arguments,
                  std::string_view name, std::string_view text, std::string_view contentType,
                  ArgumentLocation location);

// DecodeParameter decodes text into output, the first rule that applies deciding (content types are
// compared case-insensitively on their beginning):
//   1. content type "application/x-msgpack" (also "-ext"): MessagePack;
//   2. structured, no content type, first byte a MessagePack map or array header: MessagePack;
//   3. "application/json", or structured, no content type, first non-blank "{" or "[": JSON;
//   4. "text/x-yaml", or structured, no content type, starting after blanks with "---": YAML;
//   5. "application/octet-stream": a blob of the text's bytes;
//   6. otherwise the text as a string.
// A decoder's failure is reported as "Couldn't deserialize <format> value for parameter '%1' of
// '%2': %3" with the argument's name, the function's name and the decoder's message.
void DecodeParameter(ConversionStatus& status, BindingProperty& output, std::string_view text,
                     std::string_view contentType, bool structured, std::string_view argumentName,
                     std::string_view functionName);

// BindRequest binds everything request carries, in this order, stopping at the first failure:
//   1. headers: for each argument of location any or header, the header named as the argument in
//      lower case (a later pair of the same name replaces an earlier one) binds to it;
//   2. the path parameters of the matched route;
//   3. the query (the text after the first "?" of the URL);
//   4. host parameters: named ones by name, positional ones by position, converted from their cells
//      as they are ("Unknown argument '%1' for '%2'." for a name that is not an argument or a
//      position past the last, %1 the name or the position in decimal);
//   5. the body, when there is one and the function has a body argument: "application/x-msgpack"
//      is MessagePack and must be used up exactly, "application/json" and
//      "application/vnd.api+json" are JSON, "application/x-yaml" is YAML; any other content type
//      fails with "Unsupported body content type".
// headers receives the request's header map, for the request context.
void BindRequest(ConversionStatus& status, const FunctionRecord& function, const HostRequest& request,
                 const PathParameterMap& pathParameters, HeaderMap& headers, Arguments& arguments);

}  // namespace Brix::Rest
