// failure.cpp - failure messages, named placeholders and typed detail names.
#include "binding/failure.h"

#include <array>
#include <charconv>

namespace Brix {

namespace {

constexpr std::array<std::string_view, 7> kDetailSuffixes = {"_bool", "_int",  "_long", "_float",
                                                             "_str",  "_time", "_ip"};

std::string_view SuffixOf(const FailureDetail::Value& value) {
    switch (value.index()) {
        case 0:
            return "_bool";
        case 1:
            return "_int";
        case 2:
            return "_float";
        default:
            return "_str";
    }
}

std::string DetailText(const FailureDetail::Value& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "true" : "false";
    }
    if (const auto* integer = std::get_if<int64_t>(&value)) {
        return std::to_string(*integer);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        std::array<char, 32> buffer{};
        auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *number);
        return std::string(buffer.data(), result.ptr);
    }
    return std::get<std::string>(value);
}

}  // namespace

Failure::Failure(std::string text, int32_t code) : message(std::move(text)), statusCode(code) {
    if (code != 0) {
        details.push_back({"errorCode_int", int64_t{code}});
    }
}

Failure Failure::Format(std::string_view messageTemplate, std::initializer_list<FailureArgument> arguments,
                        int32_t statusCode) {
    std::string text;
    text.reserve(messageTemplate.size());
    size_t position = 0;
    while (position < messageTemplate.size()) {
        size_t open = messageTemplate.find('{', position);
        size_t close = open == std::string_view::npos ? open : messageTemplate.find('}', open);
        if (close == std::string_view::npos) {
            text.append(messageTemplate.substr(position));
            break;
        }
        text.append(messageTemplate.substr(position, open - position));
        std::string_view name = messageTemplate.substr(open + 1, close - open - 1);
        const FailureArgument* match = nullptr;
        for (const FailureArgument& argument : arguments) {
            if (argument.name == name) {
                match = &argument;
                break;
            }
        }
        if (match != nullptr) {
            text.append(DetailText(match->value));
        } else {
            text.append(messageTemplate.substr(open, close - open + 1));
        }
        position = close + 1;
    }
    Failure failure(std::move(text), statusCode);
    for (const FailureArgument& argument : arguments) {
        failure.AddDetail(argument.name, argument.value);
    }
    return failure;
}

const FailureDetail* Failure::FindDetail(std::string_view name) const noexcept {
    for (const FailureDetail& detail : details) {
        if (detail.name == name) {
            return &detail;
        }
    }
    return nullptr;
}

void Failure::AddDetail(std::string_view name, FailureDetail::Value value) {
    std::string detailName = DetailName(name, value);
    for (FailureDetail& detail : details) {
        if (detail.name == detailName) {
            detail.value = std::move(value);
            return;
        }
    }
    details.push_back({std::move(detailName), std::move(value)});
}

std::string DetailName(std::string_view name, const FailureDetail::Value& value) {
    for (std::string_view suffix : kDetailSuffixes) {
        if (name.ends_with(suffix)) {
            return std::string(name);
        }
    }
    std::string result(name);
    result.append(SuffixOf(value));
    return result;
}

Failure NotFound(std::string_view message) {
    return Failure(message.empty() ? "Not found" : std::string(message), 404);
}

Failure InternalServerError(std::string_view message) {
    return Failure(message.empty() ? "Internal server error" : std::string(message), 500);
}

}  // namespace Brix
