// codec_test_support.h - values for the codec tests that are awkward to build and to release.
#pragma once

#include <cstddef>
#include <vector>

#include "binding/binding_property.h"

namespace Brix::Testing {

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
