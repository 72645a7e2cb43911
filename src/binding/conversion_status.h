// conversion_status.h - the result that converters and codecs fill in: a value or the first failure.
#pragma once

#include <string_view>

#include "binding/binding_property.h"

namespace Brix {

// ConversionStatus is a value plus an ok flag. It starts as an empty value that is ok. Fail turns it
// into a failure for good: the value becomes a structure with the single string member "error"
// holding the message, and every later Fail is ignored, so the first message wins. Converters test
// Ok before working and forward a nested failure by failing with its Message unchanged.
class [[nodiscard]] ConversionStatus {
public:
    ConversionStatus() = default;

    bool Ok() const noexcept { return ok; }
    void Fail(std::string_view message);
    // Message is the text of member "error" of a failed status, the empty text while it is ok.
    std::string_view Message() const noexcept;

    const BindingProperty& Value() const noexcept { return value; }
    BindingProperty& Value() noexcept { return value; }

private:
    BindingProperty value;
    bool ok = true;
};

}  // namespace Brix
