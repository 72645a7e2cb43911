// codec_test_support.h - values for the codec tests that are awkward to build, to release or to compare.
#pragma once

#include <cmath>
#include <cstddef>
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
