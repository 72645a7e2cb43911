// codec_test_support.h - values for the codec tests that are awkward to build, to release or to compare.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "binding/binding_property.h"
#include "codecs/json_writer.h"

namespace Brix::Testing {

// Described is a value's kind and its JSON text ("unsigned 5", "float -0.0", "collection [1,null]"),
// so that one text compares both; a NaN, which JSON writes as null, is "float nan".
inline std::string Described(const BindingProperty& value) {
    const bool nan = value.Kind() == BindingKind::Float && std::isnan(value.AsFloat());
    return std::string(KindName(value.Kind())) + " " + (nan ? std::string("nan") : Json::Write(value));
}

// ByValue writes a value as the conformance suites compare it: every number by its value whatever its
// kind (whole floats as integers, others to 17 digits), the rest as JSON.
inline std::string ByValue(const BindingProperty& value) {
    switch (value.Kind()) {
        case BindingKind::Float: {
            const double number = value.AsFloat();
            if (number == std::trunc(number) && number > -0x1p63 && number < 0x1p63) {
                return std::to_string(static_cast<int64_t>(number));
            }
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", number);
            return text;
        }
        case BindingKind::Collection: {
            std::string text = "[";
            for (const BindingProperty& element : value.Elements()) {
                text += ByValue(element) + ",";
            }
            return text + "]";
        }
        case BindingKind::Structure: {
            std::string text = "{";
            for (auto [name, member] : value.Members()) {
                text += std::string(name) + ":" + ByValue(member) + ",";
            }
            return text + "}";
        }
        default:
            return Json::Write(value);
    }
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// CaseFiles lists the entries of a conformance folder in name order.
inline std::vector<std::filesystem::path> CaseFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// NestedCollections is a chain of collections, each the only element of the one before. Releasing a
// chain in one go recurses once per level, so it is taken apart from the innermost level outwards.
class NestedCollections {
public:
    explicit NestedCollections(std::size_t depth) {
        BindingProperty* level = &root;
        level->MakeCollection();
        for (std::size_t i = 1; i < depth; ++i) {
            levels.push_back(level);
            level = &level->AppendElement();
            level->MakeCollection();
        }
        levels.push_back(level);
    }
    ~NestedCollections() {
        for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
            (*level)->Clear();
        }
    }
    NestedCollections(const NestedCollections&) = delete;
    NestedCollections& operator=(const NestedCollections&) = delete;

    const BindingProperty& Root() const { return root; }

private:
    BindingProperty root;
    std::vector<BindingProperty*> levels;
};

}  // namespace Brix::Testing
