// msgpack_yaml_conformance_support.h - file reading and value comparison for the reader conformance tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "binding/binding_property.h"

namespace Brix::Testing {

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline bool IsNumber(const BindingProperty& value) noexcept {
    return value.Kind() == BindingKind::Signed || value.Kind() == BindingKind::Unsigned ||
           value.Kind() == BindingKind::Float;
}

// SameNumber compares two numbers by value, whatever their kinds: integers exactly, a float against
// anything as doubles.
inline bool SameNumber(const BindingProperty& a, const BindingProperty& b) noexcept {
    if (a.Kind() == BindingKind::Float || b.Kind() == BindingKind::Float) {
        auto asDouble = [](const BindingProperty& value) {
            switch (value.Kind()) {
                case BindingKind::Signed:
                    return static_cast<double>(value.AsSigned());
                case BindingKind::Unsigned:
                    return static_cast<double>(value.AsUnsigned());
                default:
                    return value.AsFloat();
            }
        };
        return asDouble(a) == asDouble(b) || (std::isnan(asDouble(a)) && std::isnan(asDouble(b)));
    }
    auto negative = [](const BindingProperty& value) {
        return value.Kind() == BindingKind::Signed && value.AsSigned() < 0;
    };
    auto magnitude = [](const BindingProperty& value) {
        return value.Kind() == BindingKind::Unsigned ? value.AsUnsigned()
                                                     : static_cast<uint64_t>(value.AsSigned());
    };
    return negative(a) == negative(b) && magnitude(a) == magnitude(b);
}

// SameValue compares actual with expected as the conformance suites mean it: numbers by value, and
// containers element by element and member by member with the same rule. On a difference, where
// receives the path to it.
inline bool SameValue(const BindingProperty& actual, const BindingProperty& expected, std::string& where) {
    if (IsNumber(actual) && IsNumber(expected)) {
        return SameNumber(actual, expected);
    }
    if (actual.Kind() != expected.Kind()) {
        return false;
    }
    if (actual.Kind() == BindingKind::Collection) {
        if (actual.ElementCount() != expected.ElementCount()) {
            return false;
        }
        for (std::size_t i = 0; i < actual.ElementCount(); ++i) {
            if (!SameValue(actual.Element(i), expected.Element(i), where)) {
                where.insert(0, "[" + std::to_string(i) + "]");
                return false;
            }
        }
        return true;
    }
    if (actual.Kind() == BindingKind::Structure) {
        if (actual.MemberCount() != expected.MemberCount()) {
            return false;
        }
        for (auto [name, value] : expected.Members()) {
            const BindingProperty* member = actual.FindMember(name);
            if (member == nullptr || !SameValue(*member, value, where)) {
                where.insert(0, "." + std::string(name));
                return false;
            }
        }
        return true;
    }
    return actual == expected;
}

}  // namespace Brix::Testing
