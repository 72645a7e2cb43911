// failure.h - the failure half of Brix::MaybeType: a message, an HTTP status code and named details.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace Brix {

// FailureDetail is one named value kept beside a failure's message. Names end in a type suffix
// ("_bool", "_int", "_long", "_float", "_str", "_time", "_ip"): a name given without one gets the
// suffix of its value's kind, a name that already carries one keeps it.
struct FailureDetail {
    using Value = std::variant<bool, int64_t, double, std::string>;

    std::string name;
    Value value;

    bool operator==(const FailureDetail&) const = default;
};

// FailureArgument is a named value handed to Failure::Format: "{name}" in the message is replaced by
// the value's text, and the value is kept as a detail.
struct FailureArgument {
    std::string_view name;
    FailureDetail::Value value;
};

// Failure is what an operation across the host boundary, or a route handler, reports instead of a
// value. The status code is an HTTP status, 0 when the failure has none; a nonzero code is also kept
// as the detail "errorCode_int".
class Failure {
public:
    Failure() = default;
    explicit Failure(std::string text, int32_t code = 0);

    // Format builds the message from a template with named placeholders: every "{name}" whose name
    // is among the arguments is replaced by the argument's text (a text as it is, numbers in decimal,
    // booleans as "true" or "false"); other braces are kept as written. Each argument is kept as a
    // detail, named by the suffix rule of FailureDetail.
    static Failure Format(std::string_view messageTemplate, std::initializer_list<FailureArgument> arguments,
                          int32_t statusCode = 0);

    const std::string& Message() const noexcept { return message; }
    int32_t StatusCode() const noexcept { return statusCode; }
    const std::vector<FailureDetail>& Details() const noexcept { return details; }
    // FindDetail returns the detail with exactly this (suffixed) name, or null.
    const FailureDetail* FindDetail(std::string_view name) const noexcept;

private:
    void AddDetail(std::string_view name, FailureDetail::Value value);

    std::string message;
    int32_t statusCode = 0;
    std::vector<FailureDetail> details;
};

// DetailName is the name under which a detail is kept: `name` with the suffix of `value`'s kind
// appended unless it already ends in one of the known suffixes.
std::string DetailName(std::string_view name, const FailureDetail::Value& value);

// NotFound is status 404 with the message, or "Not found" when the message is empty.
Failure NotFound(std::string_view message = {});
// InternalServerError is status 500 with the message, or "Internal server error" when it is empty.
Failure InternalServerError(std::string_view message = {});

}  // namespace Brix
